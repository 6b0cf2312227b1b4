#include "animation/animation_file.h"

namespace animation {

bool WriteAnimationFiles(const AnimationSettings& /*settings*/, ModelAnimation& /*animation*/,
                         const geometry::ModelMeshes& /*meshes*/, const std::string& /*resource_dir*/,
                         const std::vector<std::string>& /*bone_names*/, xIo::xSdl::eWriter& /*anim_list*/) {
    // The ".anm" files are written here once sampling fills the frame table.
    return false;
}

}  // namespace animation
