#include "animation/animation_sampler.h"

#include <algorithm>
#include <limits>

#include "animation/anim_list.h"
#include "animation/animation_ranges.h"
#include "animation/messages.h"
#include "animation/node_in_animation.h"
#include "base/format.h"
#include "host/math_quat.h"
#include "scene/messages.h"

namespace animation {

namespace {

using scene::Message;

constexpr float kPositionTolerance = 0.001f;       // metres
constexpr float kOrientationTolerance = 0.00001f;  // per quaternion component
constexpr float kHandednessTolerance = 0.001f;     // per component of the third axis

// The node whose space a bone's transform is taken in: its parent, passing
// over group members.
host::Node* BoneParent(host::Node& node) {
    host::Node* parent = node.GetParentNode();
    while (parent != nullptr && parent->IsGroupMember()) parent = parent->GetParentNode();
    return parent;
}

struct LocalTransform {
    host::Matrix3 m;
    bool mirrored = false;
};

// The node's transform in its bone parent's space at t, without scale, with
// the position in metres; the root bone gets the axis fix. A left-handed
// frame is turned right-handed (noted as mirrored); a frame that is neither
// is kept as it is, after telling the artist.
LocalTransform LocalAt(const AnimationSettings& s, host::Node& node, host::Node* parent, bool root, host::TimeValue t) {
    host::Matrix3 world = host::NoScale(node.GetNodeTM(t));
    host::Matrix3 parent_world = parent != nullptr ? host::NoScale(parent->GetNodeTM(t)) : host::Matrix3();
    LocalTransform local{world * host::Inverse(parent_world)};
    local.m.SetTrans(local.m.GetTrans() * s.masterScale);
    if (root) local.m = local.m * s.axisFix;

    host::Point3 third = host::CrossProd(local.m.GetRow(0), local.m.GetRow(1));
    if (third.Equals(local.m.GetRow(2), kHandednessTolerance)) return local;
    if (third.Equals(-local.m.GetRow(2), kHandednessTolerance)) {
        local.m.SetRow(2, -local.m.GetRow(2));
        local.mirrored = true;
        return local;
    }
    s.app.ShowMessageBox({nullptr, Message(msg::kNonOrthoText), Message(msg::kNonOrthoCaption),
                          host::MessageBoxIcon::kNone, host::MessageBoxButtons::kOk});
    return local;
}

// What the last record of a node in one animation held.
struct LastRecord {
    host::Point3 position;
    host::Quat orientation;
    bool visible = false;
};

void SampleRange(const AnimationSettings& s, const AnimationFrames& frames, const AnimationRange& a, host::Node& node,
                 int32_t bone_index, xIo::xSdl::eWriter& anim_list) {
    const int32_t tpf = TicksPerFrame(s.app);
    host::Node* parent = BoneParent(node);
    const bool root = bone_index == 0;
    WriteAnimListHeader(anim_list, a.name, node.GetName());

    LastRecord last;
    for (int32_t f = a.start; f <= a.end; ++f) {
        host::TimeValue t = FrameTime(SourceFrame(a, f, s.reverseAnimation), tpf);
        LocalTransform local = LocalAt(s, node, parent, root, t);
        host::Quat orientation(local.m);
        bool visible = node.GetVisibility(t) >= 0.5f;

        AnimationSample& sample = frames.At(f, bone_index);
        sample.node = &node;
        // Vertices the mesh writer gave the bone already (a common mesh written
        // before its bone is sampled) stay.
        sample.flags &= kSampleVertices;
        bool boundary = f == a.start || f == a.end;
        bool moved = boundary || !local.m.GetTrans().Equals(last.position, kPositionTolerance);
        bool turned = boundary || !orientation.Equals(last.orientation, kOrientationTolerance);
        bool shown_changed = boundary || visible != last.visible;
        if (!moved && !turned && !shown_changed) continue;

        AnimListFrame listed;
        listed.frame = f;
        if (shown_changed) {
            listed.visible = visible;
            last.visible = visible;
            sample.flags |= visible ? kSampleVisible : kSampleHidden;
        }
        if (moved || turned) {
            if (moved) {
                sample.flags |= kSamplePosition;
                listed.position = local.m.GetTrans();
            }
            if (turned) {
                sample.flags |= kSampleOrientation;
                listed.orientation = orientation;
            }
            if (local.mirrored) sample.flags |= kSampleMirrored;
            sample.position = local.m.GetTrans();
            sample.orientation = orientation;
            last.position = local.m.GetTrans();
            last.orientation = orientation;
        }
        WriteAnimListFrame(anim_list, listed);
    }
}

}  // namespace

int32_t SourceFrame(const AnimationRange& range, int32_t frame, bool reverse) {
    return reverse ? range.end - (frame - range.start) : frame;
}

host::TimeValue FrameTime(int32_t frame, int32_t ticks_per_frame) {
    int64_t t = int64_t{frame} * ticks_per_frame;
    t = std::clamp<int64_t>(t, std::numeric_limits<host::TimeValue>::min(), std::numeric_limits<host::TimeValue>::max());
    return static_cast<host::TimeValue>(t);
}

bool InitFrameTable(const AnimationSettings& settings, ModelAnimation& animation, const std::string& model_name,
                    int32_t bone_count) {
    if (animation.frames.Reset(animation.animations, bone_count)) return true;
    int64_t frames = 0;
    for (const AnimationRange& a : animation.animations)
        if (a.present) frames += int64_t{a.end} - a.start + 1;
    settings.report.Error(format(Message(msg::kTableTooLarge)) % model_name % static_cast<int32_t>(frames) % bone_count);
    for (AnimationRange& a : animation.animations) a.present = false;
    return false;
}

void SampleNodeAnimation(const AnimationSettings& settings, ModelAnimation& animation, host::Node& node,
                         int32_t bone_index, xIo::xSdl::eWriter& anim_list) {
    for (size_t i = 0; i < animation.animations.size(); ++i) {
        const AnimationRange& a = animation.animations[i];
        if (!a.present || !NodeInAnimation(settings.app, settings.selectedOnly, node, a)) continue;
        AnimationFrames frames = animation.frames.Frames(i);
        if (!frames.Holds(a.start, bone_index)) continue;
        SampleRange(settings, frames, a, node, bone_index, anim_list);
    }
}

}  // namespace animation
