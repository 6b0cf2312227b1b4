#pragma once
// The bytes of one mesh record: bounds, the optional skin section, the
// submesh sections, the vertex section and the index section, each a
// four-byte tag followed by its fixed layout.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/bone_mesh.h"
#include "geometry/mesh_vertex.h"
#include "host/math_box.h"

namespace geometry {

// Submesh flag bits.
enum : uint8_t {
    kSubmeshTwoSided = 0x1,
    kSubmeshSkinned = 0x2,  ///< a palette follows the section's header
};

struct SubmeshSection {
    uint32_t format = 0;         ///< the low 16 bits are written
    uint32_t firstTriangle = 0;  ///< at most 65535 to be written
    uint32_t triangleCount = 0;  ///< at most 65535 to be written
    uint32_t firstVertex = 0;
    uint32_t vertexCount = 0;
    uint8_t flags = 0;
    Palette palette;             ///< written when kSubmeshSkinned is set
    std::string material;        ///< the material reference, prefix included
};

struct MeshRecord {
    /// The number of vertices the record holds.
    size_t VertexCount() const { return order.empty() ? vertices.size() : order.size(); }

    host::Box3 bounds;
    bool skinned = false;
    std::vector<std::string> skinBones;  ///< cleaned bone names, in bone number order
    std::vector<SubmeshSection> submeshes;
    std::vector<MeshVertex> vertices;
    /// The record's vertices in file order as indices into vertices; empty
    /// when vertices are in file order already.
    std::vector<uint16_t> order;
    uint32_t vertexSize = 0;
    std::vector<uint16_t> indices;        ///< three per triangle, in the mesh's winding
};

/// The number of bytes WriteMeshRecord writes for record. Raises an error
/// through the error channel for a name of 16 MiB or more.
size_t MeshRecordSize(const MeshRecord& record);

/// Writes record into out, which holds MeshRecordSize(record) bytes.
/// Triangles are written with their winding reversed.
void WriteMeshRecord(const MeshRecord& record, uint8_t* out);

/// Bytes of a length-prefixed string of length characters.
size_t StringSize(size_t length);

}  // namespace geometry
