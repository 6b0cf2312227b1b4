#pragma once
// What animation keeps for one model, built fresh for each model: the
// declared animation ranges and the frame table of samples they share.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "geometry/bone_mesh.h"
#include "host/application.h"
#include "host/math_matrix.h"
#include "host/math_quat.h"
#include "host/node.h"
#include "scene/report.h"

namespace animation {

/// What the animation code reads of the export; fixed for one export.
struct AnimationSettings {
    host::Application& app;
    scene::Reporter& report;
    float masterScale = 1.0f;         ///< metres per system unit
    host::Matrix3 axisFix;            ///< applied to the root bone's samples
    bool reverseAnimation = false;    ///< sample every range from its end to its start
    bool selectedOnly = false;        ///< without a named selection, only selected nodes take part
    bool currentRangeOnly = false;    ///< only ranges inside the scene range are sampled and written
};

/// One accepted animation declaration of a model root.
struct AnimationRange {
    std::string name;        ///< trimmed of spaces
    int32_t selection = -1;  ///< index of the host's named selection set; −1: the current selection rule
    int32_t start = 0;       ///< first frame, 0..65535
    int32_t end = 0;         ///< last frame, start..65535
    std::string fileName;    ///< base name of the ".anm" file
    float speed = 0.0f;      ///< playback speed in percent; 0 when not given
    bool resume = false;     ///< declared with "animationresume"
    bool autostart = false;  ///< declared with "animationauto"
    bool present = false;    ///< sampled and written to a file
};

/// Sample flags; the low 16 bits go to the file unchanged.
enum : uint16_t {
    kSamplePosition = 0x0001,     ///< the position is recorded in this frame
    kSampleOrientation = 0x0002,  ///< the orientation is recorded in this frame
    kSampleMirrored = 0x0004,     ///< left-handed axes: row 2 of the transform was negated
    kSampleVisible = 0x0008,      ///< visibility recorded: visible
    kSampleHidden = 0x0010,       ///< visibility recorded: hidden
    kSampleVertices = 0x0020,     ///< the bone's vertices of this frame are present
};

/// One bone at one frame. The local transform is kept as the file stores
/// it, its translation and the rotation of its (right-handed) axes, which
/// takes two thirds of the memory of the matrix. The initial state is the
/// identity, no node, no vertices and no flags.
struct AnimationSample {
    host::Node* node = nullptr;  ///< the node that was sampled
    host::Point3 position;       ///< metres; valid with position or orientation
    host::Quat orientation;      ///< valid with position or orientation
    int32_t vertexSize = 0;      ///< bytes of one packed vertex of the bone's mesh
    uint16_t flags = 0;
    int32_t vertices = -1;       ///< the bone's vertices of this frame: an index into BoneVertices::frames; −1: none
};

/// The samples of one animation: one per frame of its range and bone. A
/// view into the frame table, valid while the table is not reset.
class AnimationFrames {
public:
    /// No frames.
    AnimationFrames() = default;
    /// samples holds (end − start + 1) × bone_count samples, frame by frame.
    AnimationFrames(AnimationSample* samples, int32_t start, int32_t end, int32_t bone_count)
        : samples_(samples), start_(start), end_(end), boneCount_(bone_count) {}

    bool Empty() const { return samples_ == nullptr; }
    int32_t Start() const { return start_; }
    int32_t End() const { return end_; }
    int32_t BoneCount() const { return boneCount_; }
    /// True when frame lies in the range and bone in the model.
    bool Holds(int32_t frame, int32_t bone) const {
        return samples_ != nullptr && frame >= start_ && frame <= end_ && bone >= 0 && bone < boneCount_;
    }
    /// The sample of bone at frame (an absolute frame number); both must be held.
    AnimationSample& At(int32_t frame, int32_t bone) const {
        return samples_[static_cast<size_t>(frame - start_) * static_cast<size_t>(boneCount_) + static_cast<size_t>(bone)];
    }

private:
    AnimationSample* samples_ = nullptr;
    int32_t start_ = 0;
    int32_t end_ = -1;
    int32_t boneCount_ = 0;
};

/// The samples of a model: for every present animation, one per frame of
/// its range and bone. Each animation has frames of its own, so one that
/// shares frames with another keeps its own first and last records.
class FrameTable {
public:
    /// The most samples a table holds: 256 bones for each of the 65536 frames
    /// a file can count, which is more than any file can carry.
    static constexpr int64_t kMaxSamples = int64_t{1} << 24;

    /// Gives every present animation of animations its frames, each with
    /// bone_count samples in the initial state. False, with an empty table,
    /// when that is more than kMaxSamples.
    bool Reset(const std::vector<AnimationRange>& animations, int32_t bone_count);
    /// The frames of all animations together.
    int64_t FrameCount() const { return boneCount_ > 0 ? static_cast<int64_t>(samples_.size()) / boneCount_ : 0; }
    int32_t BoneCount() const { return boneCount_; }
    /// The frames of animation (an index into the list the table was reset
    /// with); none for an animation that is not present or not in the list.
    AnimationFrames Frames(size_t animation);

private:
    struct Span {
        size_t firstSample;
        int32_t start;
        int32_t end;
    };
    int32_t boneCount_ = 0;
    std::vector<std::optional<Span>> spans_;
    std::vector<AnimationSample> samples_;
};

/// The vertex animation of one bone: the layout of its mesh record and the
/// frame vertices its samples point at.
struct BoneVertices {
    std::vector<uint16_t> remap;  ///< per vertex of the mesh file: its index in a frame's vertices
    int32_t vertexSize = 0;       ///< bytes of one packed vertex
    bool allWhite = false;        ///< every colour opaque white: packed without colour
    std::vector<geometry::FrameVertices> frames;
};

struct ModelAnimation {
    std::vector<AnimationRange> animations;  ///< in declaration order
    FrameTable frames;
    std::map<int32_t, BoneVertices> boneVertices;  ///< by bone index, for the bones with vertex animation
};

}  // namespace animation
