#include "animation/animation_file.h"

namespace animation {

bool WriteAnimationFiles(const AnimationSettings& /*settings*/, const ModelAnimation& animation,
                         const std::string& /*resource_dir*/, const std::vector<std::string>& /*bone_names*/) {
    // The ".anm" files are written here once the file writer exists.
    return !animation.animations.empty();
}

}  // namespace animation
