#pragma once
// What geometry keeps for one model, built fresh for each model: the
// extraction record of each bone index, the materials met on the model's
// faces, and the map of submesh groups that the material writer walks.
#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "geometry/bone_mesh.h"
#include "geometry/material_traits.h"

namespace geometry {

/// The triangles of one (material, skin partition) across the model.
struct SubmeshGroup {
    uint32_t material = 0;                ///< number in the model's material table
    int32_t partition = 0;                ///< skin partition; 0 without skin
    int32_t index = 0;                    ///< order of first appearance in the model
    float textureScale[2] = {0.0f, 0.0f}; ///< u and v: metres per texture repeat, averaged
};

class ModelMeshes {
public:
    /// (material number, partition): the map orders groups by the material's
    /// first appearance in the model, then by partition.
    using GroupKey = std::pair<uint32_t, int32_t>;

    explicit ModelMeshes(int32_t bone_count) : boneCount(bone_count), bones_(static_cast<size_t>(bone_count)) {}

    int32_t boneCount;

    /// The record of a bone index, or null outside the model.
    BoneMesh* Bone(int32_t index) {
        return index >= 0 && index < boneCount ? &bones_[static_cast<size_t>(index)] : nullptr;
    }
    const BoneMesh* Bone(int32_t index) const {
        return index >= 0 && index < boneCount ? &bones_[static_cast<size_t>(index)] : nullptr;
    }

    /// The number of material in the model's table; a material met for the
    /// first time is added with its traits, and added is set.
    uint32_t MaterialNumber(host::Material& material, bool& added);
    const MaterialTraits& Material(uint32_t number) const { return materials_[number]; }
    size_t MaterialCount() const { return materials_.size(); }

    /// The group of (material, partition), made with the next index when new.
    SubmeshGroup& Group(uint32_t material, int32_t partition);
    /// The groups in map order.
    const std::map<GroupKey, SubmeshGroup>& Groups() const { return groups_; }
    /// The group with index; index must come from a group of this model.
    SubmeshGroup& GroupAt(int32_t index) { return *byIndex_[static_cast<size_t>(index)]; }

private:
    std::vector<BoneMesh> bones_;
    std::vector<MaterialTraits> materials_;
    std::unordered_map<const host::Material*, uint32_t> materialNumbers_;
    std::map<GroupKey, SubmeshGroup> groups_;
    std::vector<SubmeshGroup*> byIndex_;
};

}  // namespace geometry
