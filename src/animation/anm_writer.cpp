#include "animation/anm_writer.h"

#include "animation/anm_format.h"
#include "animation/vertex_blocks.h"
#include "host/math_quat.h"

namespace animation {

namespace {

// Which samples of one range count as records. The answer for a node is
// kept per bone, since a bone is sampled from the same node in every frame.
class RangeRecords {
public:
    RangeRecords(const AnimationFrames& frames, const InAnimation& in_animation)
        : frames_(frames), inAnimation_(in_animation), known_(static_cast<size_t>(frames.BoneCount())) {}

    bool IsRecord(int32_t frame, int32_t bone) {
        const AnimationSample& s = frames_.At(frame, bone);
        if (s.flags == 0 || s.node == nullptr) return false;
        Known& k = known_[static_cast<size_t>(bone)];
        if (k.node != s.node) k = {s.node, inAnimation_(*s.node)};
        return k.inAnimation;
    }

private:
    struct Known {
        host::Node* node = nullptr;
        bool inAnimation = false;
    };
    const AnimationFrames& frames_;
    const InAnimation& inAnimation_;
    std::vector<Known> known_;
};

void PutTag(xIo::eStream& out, const char (&tag)[4]) { out.Write(tag, 4); }

void PutPoint(xIo::eStream& out, const host::Point3& p) {
    out.Put<float>(p.x);
    out.Put<float>(p.y);
    out.Put<float>(p.z);
}

// A rotation as stored: w ≤ 0, unit length.
host::Quat StoredOrientation(host::Quat q) {
    if (q.w > 0.0f) q = -q;
    return q.Normalize();
}

void PutRecord(xIo::eStream& out, uint8_t animated_bone, const AnimationFrames& frames, int32_t frame, int32_t bone,
               const std::map<int32_t, BoneVertices>& bone_vertices) {
    const AnimationSample& s = frames.At(frame, bone);
    out.Put<uint8_t>(animated_bone);
    const int32_t flags_offset = out.Position();
    out.Put<uint16_t>(s.flags);
    if (s.flags & kSamplePosition) PutPoint(out, s.position);
    if (s.flags & kSampleOrientation) {
        host::Quat q = StoredOrientation(s.orientation);
        PutPoint(out, {q.x, q.y, q.z});
    }
    if (s.flags & kSampleVertices) {
        static const BoneVertices kNone;
        auto it = bone_vertices.find(bone);
        WriteVertexBlock(out, flags_offset, it != bone_vertices.end() ? it->second : kNone, frames, frame, bone);
    }
}

}  // namespace

AnmWriteResult WriteAnimation(xIo::eStream& out, const AnimationFrames& frames,
                              const std::vector<std::string>& bone_names, const InAnimation& in_animation,
                              const std::map<int32_t, BoneVertices>& bone_vertices) {
    RangeRecords records(frames, in_animation);
    const int32_t bone_count = frames.BoneCount();
    const int32_t start = frames.Start(), end = frames.End();

    PutTag(out, anm::kFileTag);
    out.Put<uint32_t>(anm::kVersion);
    PutTag(out, anm::kFramesTag);
    out.Put<uint32_t>(static_cast<uint32_t>(end - start + 1));

    // Animated-bone numbers: the bones with a record in some frame, in bone order.
    std::vector<int32_t> animated(static_cast<size_t>(bone_count), -1);
    std::vector<int32_t> animated_bones;
    for (int32_t b = 0; b < bone_count; ++b) {
        for (int32_t f = start; f <= end; ++f) {
            if (!records.IsRecord(f, b)) continue;
            animated[static_cast<size_t>(b)] = static_cast<int32_t>(animated_bones.size());
            animated_bones.push_back(b);
            break;
        }
    }
    PutTag(out, anm::kBoneMapTag);
    out.Put<uint32_t>(static_cast<uint32_t>(animated_bones.size()));
    for (int32_t b : animated_bones)
        out.WriteString(static_cast<size_t>(b) < bone_names.size() ? bone_names[static_cast<size_t>(b)] : std::string());

    std::vector<int32_t> frame_bones;
    for (int32_t f = start; f <= end; ++f) {
        frame_bones.clear();
        for (int32_t b = 0; b < bone_count; ++b) {
            if (!records.IsRecord(f, b)) continue;
            // A byte numbers the bone in its record: a frame with more than 255
            // records, or a bone numbered past a byte, cannot be stored.
            if (static_cast<int32_t>(frame_bones.size()) == anm::kMaxRecordsPerFrame ||
                animated[static_cast<size_t>(b)] > 255)
                return AnmWriteResult::kTooManyBones;
            frame_bones.push_back(b);
        }
        if (frame_bones.empty()) continue;
        PutTag(out, anm::kFrameTag);
        out.Put<uint16_t>(static_cast<uint16_t>(f - start));
        out.Put<uint8_t>(static_cast<uint8_t>(frame_bones.size()));
        for (int32_t b : frame_bones)
            PutRecord(out, static_cast<uint8_t>(animated[static_cast<size_t>(b)]), frames, f, b, bone_vertices);
    }
    return AnmWriteResult::kComplete;
}

}  // namespace animation
