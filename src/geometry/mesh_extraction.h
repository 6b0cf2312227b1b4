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
/// artist; a node that fails a check contributes nothing. The frames of
/// vertex animation (entries after the static frame) are not extracted here.
void ExtractNodeFrames(const MeshSettings& settings, ModelMeshes& meshes, host::Node& node, host::Node& bone,
                       int32_t bone_index);

/// The box of the vertices extracted for bone_index; false when the bone
/// has no mesh with vertices.
bool MeshBounds(const ModelMeshes& meshes, int32_t bone_index, host::Box3& box);

}  // namespace geometry
