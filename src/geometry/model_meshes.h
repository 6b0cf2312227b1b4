#pragma once
// What geometry keeps for one model, built fresh for each model: the
// extraction record of each bone index and the map of submesh groups that
// the material writer walks.
#include <cstdint>

namespace geometry {

struct ModelMeshes {
    explicit ModelMeshes(int32_t bone_count) : boneCount(bone_count) {}
    int32_t boneCount;
    // The per-bone extraction records and the submesh group map arrive with
    // mesh extraction.
};

}  // namespace geometry
