#include "texture_tools/block_compress.h"

#include <algorithm>
#include <cstring>

#include "texture_tools/stb_backend.h"

namespace texture_tools {

namespace {

// Copies the 4x4 pixels whose top-left corner is (x0, y0) into block, edge
// pixels repeated where the block reaches outside the image.
void GatherBlock(const ImageView& image, int x0, int y0, uint8_t* block) {
    bool inside = x0 + 4 <= image.width && y0 + 4 <= image.height;
    for (int row = 0; row < 4; ++row) {
        const uint8_t* source = image.Row(std::min(y0 + row, image.height - 1));
        uint8_t* target = block + row * 16;
        if (inside) {
            std::memcpy(target, source + x0 * 4, 16);
            continue;
        }
        for (int column = 0; column < 4; ++column)
            std::memcpy(target + column * 4, source + std::min(x0 + column, image.width - 1) * 4, 4);
    }
}

}  // namespace

void CompressLevel(const ImageView& image, BlockFormat format, bool high_quality, uint8_t* out) {
    bool with_alpha = format == BlockFormat::kBc3;
    uint8_t block[64];
    for (int y0 = 0; y0 < image.height; y0 += 4) {
        for (int x0 = 0; x0 < image.width; x0 += 4) {
            GatherBlock(image, x0, y0, block);
            // The colour compressor tests a block for a single colour on whole
            // pixels, so alpha it does not store must be constant.
            if (!with_alpha)
                for (int i = 3; i < 64; i += 4) block[i] = 255;
            CompressBlock(block, with_alpha, high_quality, out);
            out += BlockBytes(format);
        }
    }
}

}  // namespace texture_tools
