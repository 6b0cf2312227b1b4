#include "animation/animation_sampler.h"

namespace animation {

void InitFrameTable(ModelAnimation& /*animation*/, int32_t /*frame_count*/, int32_t /*bone_count*/) {
    // The frame table arrives with sampling.
}

void SampleNodeAnimation(const AnimationSettings& /*settings*/, ModelAnimation& /*animation*/, host::Node& /*node*/,
                         int32_t /*bone_index*/, xIo::xSdl::eWriter& /*anim_list*/) {
    // Local transforms and visibility are sampled per frame here once
    // sampling exists.
}

}  // namespace animation
