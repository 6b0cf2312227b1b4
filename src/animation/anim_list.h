#pragma once
// The lines of anim.txt, the artist's listing of what the sampler recorded:
// a header per node and animation, then one block per frame with a record.
#include <cstdint>
#include <optional>
#include <string>

#include "host/math_quat.h"
#include "io/sdl_writer.h"

namespace animation {

/// "-= Animation: <animation>, Node <node> =-" and a line feed, as one
/// identifier token.
void WriteAnimListHeader(xIo::xSdl::eWriter& w, const std::string& animation_name, const std::string& node_name);

/// What one frame recorded for a node; each part is listed when present.
struct AnimListFrame {
    int32_t frame = 0;
    std::optional<bool> visible;
    std::optional<host::Point3> position;  ///< metres
    std::optional<host::Quat> orientation; ///< as computed from the transform
};

/// "frame <f> {", then "visibility 0|1", "position x y z" and "orientation
/// x y z w" lines for what is present, each number rounded to 4 decimals
/// and separated by a TAB identifier, then "}".
void WriteAnimListFrame(xIo::xSdl::eWriter& w, const AnimListFrame& frame);

}  // namespace animation
