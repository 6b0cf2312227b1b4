#include "animation/model_animation.h"

namespace animation {

bool FrameTable::Reset(int32_t frame_count, int32_t bone_count) {
    samples_.clear();
    frameCount_ = boneCount_ = 0;
    if (frame_count <= 0 || bone_count <= 0) return true;
    if (int64_t{frame_count} * bone_count > kMaxSamples) {
        samples_.shrink_to_fit();
        return false;
    }
    samples_.assign(static_cast<size_t>(frame_count) * static_cast<size_t>(bone_count), AnimationSample{});
    frameCount_ = frame_count;
    boneCount_ = bone_count;
    return true;
}

}  // namespace animation
