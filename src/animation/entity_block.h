#pragma once
// The animation block of the entity file: one "binary" entry per animation
// that tells the engine more than its file name.
#include "animation/model_animation.h"
#include "io/sdl_writer.h"

namespace animation {

/// Writes {animation {skeleton ...}} to entity_writer with one line per
/// animation of the list (present or not) whose file name differs from its
/// name, or whose speed is above 0, or that resumes or starts by itself;
/// writes nothing when no animation qualifies.
void WriteAnimationBlock(const ModelAnimation& animation, xIo::xSdl::eWriter& entity_writer);

}  // namespace animation
