#pragma once
// Mesh extraction, first stage: the geometry of one node copied out of the
// host mesh into the extraction record of the bone its mesh joins.
#include <cstdint>

#include "geometry/mesh_settings.h"
#include "geometry/model_meshes.h"
#include "host/math_box.h"
#include "host/node.h"

namespace geometry {

/// Extracts the mesh frames of node into the record of bone_index: the
/// static frame, and the frames of the animations the node takes part in.
void ExtractNodeFrames(const MeshSettings& settings, ModelMeshes& meshes, host::Node& node, int32_t bone_index);

/// The box of the vertices of the first mesh extracted for bone_index;
/// false when the bone has no mesh with vertices.
bool MeshBounds(const ModelMeshes& meshes, int32_t bone_index, host::Box3& box);

}  // namespace geometry
