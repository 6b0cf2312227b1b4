#pragma once
// The sampler: one sample per frame and bone, recorded while the bones of a
// model are written, into the frame table every animation of the model
// shares. Samples record only what changed since the node's last record in
// the same animation, and always everything at an animation's first and
// last frame.
#include <cstdint>
#include <string>

#include "animation/model_animation.h"
#include "host/node.h"
#include "io/sdl_writer.h"

namespace animation {

/// Gives every present animation of the list its frames in the frame table,
/// bone_count samples each, in the initial state. A table larger than
/// FrameTable::kMaxSamples is refused: the artist is told (model_name names
/// the model), every animation of the list loses present, and false is
/// returned.
bool InitFrameTable(const AnimationSettings& settings, ModelAnimation& animation, const std::string& model_name,
                    int32_t bone_count);

/// Samples node, bone bone_index of the table, over every present animation
/// of the list it takes part in, in list order, into that animation's
/// frames; what each frame recorded is listed in anim_list. A bone index
/// outside the table samples nothing.
void SampleNodeAnimation(const AnimationSettings& settings, ModelAnimation& animation, host::Node& node,
                         int32_t bone_index, xIo::xSdl::eWriter& anim_list);

/// The frame whose pose frame of range holds: frame itself, or with reverse
/// playback the frame as far from range's end as frame is from its start.
int32_t SourceFrame(const AnimationRange& range, int32_t frame, bool reverse);

/// The time in ticks of frame, held inside the host's tick range.
host::TimeValue FrameTime(int32_t frame, int32_t ticks_per_frame);

}  // namespace animation
