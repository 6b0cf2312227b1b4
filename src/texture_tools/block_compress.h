#pragma once
// One image level as rows of 4x4 compressed blocks.
#include <cstdint>

#include "texture_tools/dds_format.h"
#include "texture_tools/image.h"

namespace texture_tools {

/// Compresses image into LevelSize(width, height, BlockBytes(format)) bytes at
/// out: blocks left to right, block rows top to bottom. A block that reaches
/// past the right or bottom edge is filled by repeating the last column and
/// row, so the padding brings no colour of its own into the block's end
/// points. For BC1 the alpha channel is ignored.
void CompressLevel(const ImageView& image, BlockFormat format, bool high_quality, uint8_t* out);

}  // namespace texture_tools
