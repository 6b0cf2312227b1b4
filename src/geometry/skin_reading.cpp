#include "geometry/skin_reading.h"

#include <algorithm>
#include <cmath>

#include "host/class_id.h"
#include "scene/node_params.h"

namespace geometry {

namespace {

constexpr float kMinWeight = 0.001f;
constexpr int kKeptInfluences = 3;

struct Pair {
    int bone;
    float weight;
};

}  // namespace

host::Skin* CountedSkin(host::Node& node) {
    host::Skin* skin = node.GetSkin();
    if (skin == nullptr || scene::HasProperty(node, "NoSkin")) return nullptr;
    return skin;
}

int32_t AppendSkinBones(BoneMesh& record, const host::Skin& skin) {
    const size_t base = record.skinBones.size();
    const int count = std::max(skin.NumBones(), 0);
    if (base + static_cast<size_t>(count) > kMaxSkinBones) return -1;
    for (int i = 0; i < count; ++i) record.skinBones.push_back(skin.GetBone(i));
    return static_cast<int32_t>(base);
}

SkinInfluence ReadInfluence(const host::Skin& skin, int vertex, int32_t bone_base, uint32_t& bones_per_vertex) {
    SkinInfluence influence;
    const int assigned = skin.NumAssignedBones(vertex);
    if (assigned <= 0) return influence;  // weight 1 on no bone

    // The three strongest, in order; equal weights keep the skin's order.
    Pair pairs[kKeptInfluences];
    int kept = 0;
    for (int k = 0; k < assigned; ++k) {
        const Pair p{skin.GetAssignedBone(vertex, k), skin.GetBoneWeight(vertex, k)};
        int at = kept;
        while (at > 0 && p.weight > pairs[at - 1].weight) --at;
        if (at == kKeptInfluences) continue;
        for (int j = std::min(kept, kKeptInfluences - 1); j > at; --j) pairs[j] = pairs[j - 1];
        pairs[at] = p;
        kept = std::min(kept + 1, kKeptInfluences);
    }

    float sum = 0.0f;
    for (int k = 0; k < kKeptInfluences; ++k) {
        influence.bones[k] = 0;
        influence.weights[k] = 0.0f;
        if (k >= kept || std::fabs(pairs[k].weight) < kMinWeight) continue;
        const int bone = pairs[k].bone;
        if (bone < 0 || bone >= skin.NumBones() || bone_base + bone >= static_cast<int32_t>(kMaxSkinBones)) continue;
        influence.bones[k] = static_cast<uint8_t>(bone_base + bone + 1);
        influence.weights[k] = pairs[k].weight;
        bones_per_vertex = std::max<uint32_t>({bones_per_vertex, 2u, static_cast<uint32_t>(k) + 1});
        sum += pairs[k].weight;
    }
    if (std::fabs(sum) >= kMinWeight)
        for (float& w : influence.weights) w /= sum;
    return influence;
}

}  // namespace geometry
