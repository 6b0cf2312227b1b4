#pragma once
// Uncompressed bitmap files of texture conversion.
#include <cstdint>

#include "io/stream.h"

namespace texture_tools {

/// Appends to sink a bitmap file of height rows of width RGBA8 pixels,
/// row_pitch bytes apart: a 14-byte file header and a 40-byte information
/// header (one plane, no compression), then the rows bottom-up, each pixel
/// as blue, green, red and, with_alpha, alpha (32 bits a pixel; otherwise 24),
/// each row padded with zero bytes to a multiple of 4. Raises an error
/// (source texture_tools/bmp_writer) before writing anything for a size
/// outside 1 to 16384 or a short row pitch; errors of the sink pass through.
void WriteBmp(const uint8_t* pixels, int32_t width, int32_t height, int32_t row_pitch, bool with_alpha,
              xIo::eStream& sink);

}  // namespace texture_tools
