#pragma once
// Animation ranges: the animations a model root declares in its user
// properties, as the model's animation list.
#include <cstdint>
#include <string>

#include "animation/model_animation.h"
#include "host/node.h"

namespace animation {

/// Rebuilds animation.animations from the declarations of root (keys
/// "animation", "animationresume" and "animationauto") in declaration
/// order, telling the artist about a missing selection set and refusing a
/// declaration whose end comes before its start, whose frames lie outside
/// 0..65535, or whose file name leaves the model's directory. Returns the
/// largest end frame of the accepted animations, 0 without one.
int32_t CollectAnimations(const AnimationSettings& settings, host::Node& root, ModelAnimation& animation);

/// True when an animation file name stays in the model's directory: it
/// holds no '/', '\' or ':' (no folder, parent or drive).
bool IsSafeAnimationFileName(const std::string& file_name);

/// The scene's animation range in frames (ticks divided by ticks per frame).
struct SceneFrames {
    int32_t first = 0;
    int32_t last = 0;
};
SceneFrames SceneFrameRange(host::Application& app);

/// The host's ticks per frame, at least 1.
int32_t TicksPerFrame(host::Application& app);

}  // namespace animation
