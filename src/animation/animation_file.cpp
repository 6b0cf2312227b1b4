#include "animation/animation_file.h"

#include "animation/anm_writer.h"
#include "animation/messages.h"
#include "animation/node_in_animation.h"
#include "base/format.h"
#include "io/stream_file.h"
#include "scene/messages.h"
#include "scene/paths.h"

namespace animation {

bool WriteAnimationFiles(const AnimationSettings& settings, ModelAnimation& animation,
                         const std::string& resource_dir, const std::vector<std::string>& bone_names) {
    for (size_t i = 0; i < animation.animations.size(); ++i) {
        const AnimationRange& range = animation.animations[i];
        AnimationFrames frames = animation.frames.Frames(i);
        if (!range.present || frames.Empty()) continue;
        xIo::eFileStream file;
        // Asked like every other output file, so one that cannot be created is
        // never left out unnoticed.
        file.Open(scene::JoinPath(resource_dir, range.fileName) + ".anm",
                  xIo::kModeWrite | xIo::kModeTruncate | xIo::kModeInteractive, xIo::eFileStream::kOutputBufferSize);
        InAnimation in_animation = [&](host::Node& node) {
            return NodeInAnimation(settings.app, settings.selectedOnly, node, range);
        };
        if (WriteAnimation(file, frames, bone_names, in_animation, animation.boneVertices) == AnmWriteResult::kTooManyBones)
            settings.report.Error(format(scene::Message(msg::kTooManyBones)) % range.name);
        file.Close();
    }
    return !animation.animations.empty();
}

}  // namespace animation
