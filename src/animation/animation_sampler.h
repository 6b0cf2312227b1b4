#pragma once
// The sampler: one sample per frame and bone, recorded while the bones of a
// model are written, into the frame table every animation of the model shares.
#include <cstdint>

#include "animation/model_animation.h"
#include "host/node.h"
#include "io/sdl_writer.h"

namespace animation {

/// Sizes the frame table to frame_count entries of bone_count samples, each
/// in the initial state.
void InitFrameTable(ModelAnimation& animation, int32_t frame_count, int32_t bone_count);

/// Samples node (bone bone_index) over every present animation it takes
/// part in; the samples are listed in anim_list.
void SampleNodeAnimation(const AnimationSettings& settings, ModelAnimation& animation, host::Node& node,
                         int32_t bone_index, xIo::xSdl::eWriter& anim_list);

}  // namespace animation
