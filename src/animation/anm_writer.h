#pragma once
// The chunks of one animation file, written from the frame table to a
// stream: header, frame count, bone map, and one frame chunk per frame that
// has records.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "animation/model_animation.h"
#include "io/stream.h"

namespace animation {

/// Whether a node takes part in the animation being written.
using InAnimation = std::function<bool(host::Node& node)>;

enum class AnmWriteResult {
    kComplete,      ///< every frame was written
    kTooManyBones,  ///< a frame held more records than a frame chunk counts: the stream ends before it
};

/// Writes the file of an animation's frames to out from its position: the
/// header chunks, the bone map of every bone with a record in some frame
/// (names from bone_names, in bone index order), then each frame with
/// records. A sample is a record when its flags are not 0 and in_animation
/// accepts its node. Orientations are stored with w ≤ 0, normalised. A
/// record with the vertices flag gets its vertex block from bone_vertices
/// (by bone index).
AnmWriteResult WriteAnimation(xIo::eStream& out, const AnimationFrames& frames,
                              const std::vector<std::string>& bone_names, const InAnimation& in_animation,
                              const std::map<int32_t, BoneVertices>& bone_vertices = {});

}  // namespace animation
