#pragma once
// Preview groups: the camera and lights with which a viewer shows a model.
#include <vector>

#include "host/math_color.h"
#include "host/node.h"
#include "io/sdl_writer.h"
#include "volumes/volume_settings.h"

namespace volumes {

/// Writes the "preview" block of the model's preview nodes; ambient is the
/// scene's ambient colour at time 0.
void WritePreview(const VolumeSettings& settings, const std::vector<host::Node*>& previews, const host::Color& ambient,
                  xIo::xSdl::eWriter& model_writer);

}  // namespace volumes
