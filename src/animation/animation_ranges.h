#pragma once
// Animation ranges: the animations a model root declares, and the animation
// block of the entity file.
#include <cstdint>

#include "animation/model_animation.h"
#include "host/node.h"
#include "io/sdl_writer.h"

namespace animation {

/// Rebuilds the animation list of root into animation; returns the largest
/// end frame of the accepted animations, 0 without one.
int32_t CollectAnimations(const AnimationSettings& settings, host::Node& root, ModelAnimation& animation);

/// Writes the animation block of the entity file.
void WriteAnimationBlock(const ModelAnimation& animation, xIo::xSdl::eWriter& entity_writer);

}  // namespace animation
