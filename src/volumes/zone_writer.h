#pragma once
// Zones: the two-dimensional shape of an obstacle or area in the model's
// ground plan.
#include "host/node.h"
#include "io/sdl_writer.h"
#include "volumes/volume_settings.h"

namespace volumes {

/// Writes the shape of one zone into model_writer, or nothing.
void WriteZoneShape(const VolumeSettings& settings, host::Node& node, xIo::xSdl::eWriter& model_writer);

}  // namespace volumes
