#pragma once
// Normal maps from the samples of a bump texture.
#include <array>
#include <cstdint>

namespace texture_tools {

/// The stored pixel of one sample: the colour c (channels 0 to 1) gives the
/// vector n = 2c - 1, which is made unit length and stored as 8-bit colour
/// again, each component as round((n + 1) / 2 * 255); alpha is kept
/// (rounded to 8 bits). The direction is kept as sampled, a negative z
/// included. A vector too short to have a direction (possible only from
/// float samples at mid grey) becomes (0, 0, 1), the flat surface's normal.
std::array<uint8_t, 4> NormalPixel(float red, float green, float blue, float alpha);

/// Turns height rows of width RGBA8 samples, row_pitch bytes apart, into
/// normal-map pixels in place (NormalPixel of each byte divided by 255).
void ConvertToNormalMap(uint8_t* pixels, int width, int height, int row_pitch);

}  // namespace texture_tools
