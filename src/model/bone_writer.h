#pragma once
// The bone blocks of the model description: one "bone" block per bone,
// nested like the scene hierarchy, with the bone's parameters, IK limits,
// placement, visibility and mesh views. While walking, the node lists of the
// model root and the support points are filled, and the entity file gets its
// "place" and "structure_bone" entries.
#include <cstdint>

#include "host/node.h"
#include "scene/export_context.h"

namespace model {

// Walk flags of WriteBone.
enum : uint32_t {
    kWriteLod = 0x1,    ///< write the node even when its LOD index is not 0
    kLastLod = 0x2,     ///< the node is the last LOD: write {last}
    kModelRoot = 0x4,   ///< the node is the model root
};

/// Writes node and its subtree. common_mesh_owner is the node whose mesh the
/// subtree joins, or null. Returns 0 when the export of this model must stop
/// (the artist cancelled, or a hierarchy that cannot be written), else 1.
int WriteBone(scene::ExportContext& ctx, host::Node& node, host::Node* common_mesh_owner, uint32_t flags);

}  // namespace model
