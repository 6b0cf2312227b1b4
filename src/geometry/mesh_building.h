#pragma once
// Mesh extraction, second stage: a bone's extracted faces become welded
// vertices and triangle lists grouped by (material, skin partition), with
// the mesh's vertex format.
#include <cstdint>
#include <vector>

#include "geometry/mesh_settings.h"
#include "geometry/mesh_vertex.h"
#include "geometry/model_meshes.h"

namespace geometry {

/// A mesh of 65535 vertices or more is refused.
constexpr uint32_t kVertexLimit = 65535;

/// The triangles of one submesh group in one bone.
struct GroupTriangles {
    int32_t group = 0;              ///< the group's index in the model
    std::vector<uint32_t> indices;  ///< three vertex indices per triangle
};

struct BuiltMesh {
    std::vector<MeshVertex> vertices;
    std::vector<GroupTriangles> groups;  ///< in the order the bone first uses them
    std::vector<uint32_t> vertexCorner;  ///< per vertex: the corner it was made from
    uint32_t format = 0;                 ///< the face format with the largest vertex size (the earliest on a tie)
    bool allWhite = true;                ///< every vertex colour is opaque white
    bool overVertexLimit = false;        ///< welding reached kVertexLimit vertices and stopped
    bool cancelled = false;              ///< the artist cancelled; the faces before it are built
};

/// Builds record's static frame: partitions a skinned record's faces,
/// makes a vertex of every corner (tangents for faces with a bump map),
/// welds them and groups the triangles, updating the model's submesh groups
/// and their texture scales. The face loop drives the host progress bar and
/// stops at a cancel.
BuiltMesh BuildMesh(const MeshSettings& settings, ModelMeshes& meshes, BoneMesh& record);

/// The vertices of a later frame of record (a frame of vertex animation),
/// in the order of the static frame's welded vertices: vertex i is made, by
/// the same construction, from the same corner of frame as static vertex i
/// was made from the static frame (vertex_corner, BuiltMesh::vertexCorner);
/// what a corner's face decides (group, smoothing, format, skin) is taken
/// from static_vertices. Empty when frame's corners do not match the static
/// frame's (another topology, or a node missing from the frame).
std::vector<MeshVertex> BuildFrameVertices(const ModelMeshes& meshes, const BoneMesh& record, const FrameGeometry& frame,
                                           const std::vector<MeshVertex>& static_vertices,
                                           const std::vector<uint32_t>& vertex_corner);

}  // namespace geometry
