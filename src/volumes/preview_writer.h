#pragma once
// Preview groups: the camera and lights with which a viewer shows a model.
#include <vector>

#include "host/math_color.h"
#include "host/node.h"
#include "io/sdl_writer.h"
#include "volumes/volume_settings.h"

namespace volumes {

/// Writes the "preview" block: per preview node that is a group head, a
/// block named by its scene name with its first camera and a "lights" block
/// of its lights numbered from 0. A node that is not a group head and a
/// second camera in a group are reported and left out; the "preview" block
/// stays even when empty. ambient is the colour the first directional light
/// of each group carries.
void WritePreview(const VolumeSettings& settings, const std::vector<host::Node*>& previews, const host::Color& ambient,
                  xIo::xSdl::eWriter& model_writer);

}  // namespace volumes
