#pragma once
// Reading a node's Skin modifier: which nodes count as skinned, the bone
// list a skinned bone collects from its nodes, and the three strongest
// influences of each vertex.
#include <cstdint>

#include "geometry/bone_mesh.h"
#include "host/node.h"
#include "host/skin.h"

namespace geometry {

/// The largest number of bones one skinned mesh lists (a bone byte holds its number).
constexpr size_t kMaxSkinBones = 255;

/// The node's Skin modifier when it counts: null without one or when the
/// node carries NoSkin.
host::Skin* CountedSkin(host::Node& node);

/// Appends skin's bones to record's bone list and returns the bone byte
/// base of this skin (its bone i gets the byte base + i + 1); returns −1
/// and appends nothing when the list would grow past 255 bones.
int32_t AppendSkinBones(BoneMesh& record, const host::Skin& skin);

/// The influences of vertex of skin: the three strongest (bone, weight)
/// pairs, a pair below 0.001 dropped, renormalised; no assignment gives
/// weight 1 on no bone. Raises bones_per_vertex to what the vertex keeps.
SkinInfluence ReadInfluence(const host::Skin& skin, int vertex, int32_t bone_base, uint32_t& bones_per_vertex);

}  // namespace geometry
