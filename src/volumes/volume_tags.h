#pragma once
// The gameplay tags of a volume (entity file) or a zone (model description).
#include "host/node.h"
#include "io/sdl_writer.h"
#include "scene/report.h"

namespace volumes {

/// Writes the tag blocks of node into target: "tags" for both; for a zone
/// (for_volume false) "proper", "permit", "rotate", "move" and "static"; for
/// a volume "component", "thickness" and the "able" block of tag words,
/// which vanishes when no word applies. A value that is written as bare
/// words but would break the file is reported and its block left out.
void WriteVolumeTags(scene::Reporter& report, host::Node& node, bool for_volume, xIo::xSdl::eWriter& target);

}  // namespace volumes
