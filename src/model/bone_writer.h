#pragma once
// The bone blocks of the model description: one "bone" block per bone,
// nested like the scene hierarchy, with the bone's parameters, IK limits,
// placement, visibility and mesh views. While walking, the node lists of the
// model root and the support points are filled, the entity file gets its
// "place" and "structure_bone" entries, and the mesh and animation steps of
// each node are started through the walk's BoneSteps.
#include <cstdint>

#include "host/node.h"
#include "model/bone_walk.h"
#include "scene/step_result.h"

namespace model {

// Walk flags of WriteBone.
enum : uint32_t {
    kWriteLod = 0x1,    ///< write the node even when its LOD index is not 0
    kLastLod = 0x2,     ///< the node is the last LOD: write {last}
    kModelRoot = 0x4,   ///< the node is the model root
};

/// Writes node and its subtree. common_mesh_owner is the node whose mesh the
/// subtree joins, or null. Done when the subtree was written; Cancelled when
/// the artist cancelled; Failed for a hierarchy that cannot be written (the
/// artist was told). Blocks already open are closed on every way out, so the
/// file stays well formed.
scene::StepResult WriteBone(BoneWalk& walk, host::Node& node, host::Node* common_mesh_owner, uint32_t flags);

}  // namespace model
