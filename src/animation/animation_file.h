#pragma once
// The animation files: one ".anm" file per present animation of a model,
// written from the frame table after the model description is closed.
#include <string>
#include <vector>

#include "animation/model_animation.h"

namespace animation {

/// Writes "<resource_dir>/<fileName>.anm" for every present animation, in
/// list order; bone_names are the model's bone names in bone index order. An
/// animation with a frame of more than 255 records is told to the artist and
/// its file keeps what was written before that frame. True when the model
/// declares any animation (so its anim.txt is kept).
bool WriteAnimationFiles(const AnimationSettings& settings, ModelAnimation& animation,
                         const std::string& resource_dir, const std::vector<std::string>& bone_names);

}  // namespace animation
