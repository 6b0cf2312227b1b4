#pragma once
// The animation files: one ".anm" file per present animation of a model,
// written from the frame table after the model description is closed.
#include <string>
#include <vector>

#include "animation/model_animation.h"
#include "geometry/model_meshes.h"
#include "io/sdl_writer.h"

namespace animation {

/// Writes the ".anm" file of every present animation into resource_dir;
/// bone_names are the model's bone names in bone index order, meshes the
/// model's extracted meshes (for vertex animation). True when any animation
/// was written.
bool WriteAnimationFiles(const AnimationSettings& settings, ModelAnimation& animation,
                         const geometry::ModelMeshes& meshes, const std::string& resource_dir,
                         const std::vector<std::string>& bone_names, xIo::xSdl::eWriter& anim_list);

}  // namespace animation
