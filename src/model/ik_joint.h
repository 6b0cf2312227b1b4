#pragma once
// Inverse-kinematics joints: the joint type word of a bone header and the
// limit, speed and chain-end blocks inside the bone block.
#include "host/node.h"
#include "io/sdl_writer.h"
#include "scene/report.h"

namespace model {

enum class IkType : int { None = 0, Revolute = 1, Prizmatic = 2, Socket = 3 };

/// Decides the joint type of node and writes its word (unquoted). An
/// unknown IKType value is reported to the artist and gives no word and no
/// type. Without IKType the node's own joint settings decide, only when
/// export_ik is on. With export_ik, a value that WriteIkLimits will read and
/// that is no finite number (inf, nan, beyond the range of a float) is
/// reported as a warning naming the node and the key.
IkType WriteIkTypeWord(xIo::xSdl::eWriter& writer, host::Node& node, bool export_ik, scene::Reporter& report);

/// Writes the limits, speed and terminator blocks of a joint.
void WriteIkLimits(xIo::xSdl::eWriter& writer, host::Node& node, IkType type);

/// A joint number: ',' read as '.', anything that is not a finite number
/// (of the range of a float) as 0.
float IkNumber(const std::string& text);

}  // namespace model
