#pragma once
// Mesh extraction, first stage: the geometry of one node copied out of the
// host mesh into the extraction record of the bone its mesh joins.
#include <cstdint>

#include "geometry/mesh_settings.h"
#include "geometry/model_meshes.h"
#include "host/math_box.h"
#include "host/node.h"

namespace geometry {

/// Extracts the static frame of node into the record of bone_index: faces,
/// corner normals, texture coordinates, colours and skin influences, with
/// positions in metres in the space of bone (the node whose transform the
/// model description writes for the record). Problems are told to the
/// artist; a node that fails a check contributes nothing. True when the
/// node's mesh joined the record. The frames of vertex animation (entries
/// after the static frame) are added by ExtractNodeFrameAt.
bool ExtractNodeFrames(const MeshSettings& settings, ModelMeshes& meshes, host::Node& node, host::Node& bone,
                       int32_t bone_index);

/// Adds node's mesh at time t as frame_number of the record of bone_index, a
/// frame of vertex animation: positions and corners made as for the static
/// frame (at t, in the bone's space at t), appended to the record's frame
/// of that number after the static one (made when it is new). The faces are
/// the static frame's, so the nodes of a record must add each frame in the
/// order they joined the static frame; a frame whose corners then do not
/// match the static frame's gets no vertices. A node whose mesh cannot be
/// read at t adds nothing; nothing is told to the artist, who heard of the
/// static frame already.
void ExtractNodeFrameAt(const MeshSettings& settings, ModelMeshes& meshes, host::Node& node, host::Node& bone,
                        int32_t bone_index, int32_t frame_number, host::TimeValue t);

/// The box of the vertices extracted for bone_index; false when the bone
/// has no mesh with vertices.
bool MeshBounds(const ModelMeshes& meshes, int32_t bone_index, host::Box3& box);

}  // namespace geometry
