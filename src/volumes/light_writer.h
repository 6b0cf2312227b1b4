#pragma once
// The lights of a preview group.
#include <cstdint>

#include "host/math_color.h"
#include "host/node.h"
#include "host/object.h"
#include "io/sdl_writer.h"
#include "volumes/volume_settings.h"

namespace volumes {

/// Writes the content of one light entry for node, whose object at time 0
/// is light: its type, position, direction, cone angles and range as the
/// type has them, "ambient" on the group's first directional light (then
/// first_directional turns false) when ambient is not black, and "diffuse"
/// when the light is not white.
void WriteLight(const VolumeSettings& settings, host::Node& node, const host::Object& light, bool& first_directional,
                const host::Color& ambient, xIo::xSdl::eWriter& model_writer);

/// The colour as the word 0xFF000000 + R × 65536 + G × 256 + B, each channel
/// trunc(clamp(c, 0, 1) × 255 + 0.5).
uint32_t ColorWord(const host::Color& color);

}  // namespace volumes
