#include "animation/model_animation.h"

namespace animation {

bool FrameTable::Reset(const std::vector<AnimationRange>& animations, int32_t bone_count) {
    samples_.clear();
    samples_.shrink_to_fit();
    spans_.assign(animations.size(), std::nullopt);
    boneCount_ = 0;
    if (bone_count <= 0) return true;
    int64_t frames = 0;
    for (const AnimationRange& a : animations)
        if (a.present) frames += int64_t{a.end} - a.start + 1;
    if (frames * bone_count > kMaxSamples) {
        spans_.assign(animations.size(), std::nullopt);
        return false;
    }
    boneCount_ = bone_count;
    samples_.resize(static_cast<size_t>(frames * bone_count));
    size_t next = 0;
    for (size_t i = 0; i < animations.size(); ++i) {
        const AnimationRange& a = animations[i];
        if (!a.present) continue;
        spans_[i] = Span{next, a.start, a.end};
        next += static_cast<size_t>(a.end - a.start + 1) * static_cast<size_t>(bone_count);
    }
    return true;
}

AnimationFrames FrameTable::Frames(size_t animation) {
    if (animation >= spans_.size() || !spans_[animation]) return {};
    const Span& span = *spans_[animation];
    return AnimationFrames(samples_.data() + span.firstSample, span.start, span.end, boneCount_);
}

}  // namespace animation
