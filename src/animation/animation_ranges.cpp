#include "animation/animation_ranges.h"

#include <algorithm>

#include "animation/declaration.h"
#include "animation/messages.h"
#include "base/format.h"
#include "scene/messages.h"
#include "scene/properties.h"

namespace animation {

namespace {

using scene::Message;

// The frames a file can count: the table starts at frame 0 and a file numbers
// its frames in 16 bits.
constexpr int32_t kLastStorableFrame = 65535;

// The index of the scene's first named selection set called name (any
// letter case), or −1.
int32_t FindSelectionSet(host::Application& app, const std::string& name) {
    for (int i = 0; i < app.GetNumNamedSelSets(); ++i)
        if (scene::EqualsNoCase(app.GetNamedSelSetName(i), name)) return i;
    return -1;
}

// The range of one declaration, or nullopt after telling the artist why it
// is refused.
std::optional<AnimationRange> AcceptDeclaration(const AnimationSettings& s, const Declaration& d, SceneFrames scene) {
    AnimationRange range;
    range.name = d.name;
    range.selection = FindSelectionSet(s.app, d.selection);
    if (range.selection < 0) s.report.Warning(format(Message(msg::kSelectionNotFound)) % d.selection);
    range.start = d.start.value_or(scene.first);
    range.end = d.end.value_or(scene.last);
    if (range.start > range.end) {
        s.report.Error(format(Message(msg::kEndBeforeStart)) % d.name);
        return std::nullopt;
    }
    if (range.start < 0 || range.end > kLastStorableFrame) {
        s.report.Error(format(Message(msg::kFrameOutOfRange)) % d.name);
        return std::nullopt;
    }
    range.fileName = d.fileName;
    if (!IsSafeAnimationFileName(range.fileName)) {
        s.report.Error(format(Message(msg::kUnsafeFileName)) % range.fileName % d.name);
        return std::nullopt;
    }
    range.speed = d.speed;
    range.present = !s.currentRangeOnly || (range.start >= scene.first && range.end <= scene.last);
    return range;
}

}  // namespace

int32_t TicksPerFrame(host::Application& app) { return std::max(1, app.GetTicksPerFrame()); }

SceneFrames SceneFrameRange(host::Application& app) {
    host::Interval range = app.GetAnimRange();
    int32_t tpf = TicksPerFrame(app);
    return {range.Start() / tpf, range.End() / tpf};
}

bool IsSafeAnimationFileName(const std::string& file_name) {
    return file_name.find_first_of("/\\:") == std::string::npos;
}

int32_t CollectAnimations(const AnimationSettings& settings, host::Node& root, ModelAnimation& animation) {
    animation.animations.clear();
    SceneFrames scene = SceneFrameRange(settings.app);
    int32_t largest_end = 0;
    for (const scene::PropertyEntry& entry : scene::ParseProperties(root.GetUserPropBuffer())) {
        std::string key = TrimSpaces(entry.key);
        bool resume = scene::EqualsNoCase(key, "animationresume");
        bool autostart = scene::EqualsNoCase(key, "animationauto");
        if (!resume && !autostart && !scene::EqualsNoCase(key, "animation")) continue;
        std::optional<AnimationRange> range = AcceptDeclaration(settings, ParseDeclaration(entry.value), scene);
        if (!range) continue;
        range->resume = resume;
        range->autostart = autostart;
        largest_end = std::max(largest_end, range->end);
        animation.animations.push_back(std::move(*range));
    }
    return largest_end;
}

}  // namespace animation
