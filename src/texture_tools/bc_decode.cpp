#include "texture_tools/bc_decode.h"

#include <algorithm>
#include <cstring>

namespace texture_tools {

namespace {

uint16_t Load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void Expand565(uint16_t c, uint8_t* rgba) {
    int r = c >> 11, g = (c >> 5) & 63, b = c & 31;
    rgba[0] = static_cast<uint8_t>(r << 3 | r >> 2);
    rgba[1] = static_cast<uint8_t>(g << 2 | g >> 4);
    rgba[2] = static_cast<uint8_t>(b << 3 | b >> 2);
    rgba[3] = 255;
}

}  // namespace

void DecodeBc1Block(const uint8_t* block, uint8_t* pixels, bool colour_only) {
    uint16_t c0 = Load16(block), c1 = Load16(block + 2);
    uint8_t palette[4][4];
    Expand565(c0, palette[0]);
    Expand565(c1, palette[1]);
    bool four_colours = colour_only || c0 > c1;
    for (int i = 0; i < 3; ++i) {
        int a = palette[0][i], b = palette[1][i];
        palette[2][i] = static_cast<uint8_t>(four_colours ? (2 * a + b) / 3 : (a + b) / 2);
        palette[3][i] = static_cast<uint8_t>(four_colours ? (a + 2 * b) / 3 : 0);
    }
    palette[2][3] = 255;
    palette[3][3] = four_colours ? 255 : 0;
    uint32_t indices = block[4] | block[5] << 8 | block[6] << 16 | static_cast<uint32_t>(block[7]) << 24;
    for (int i = 0; i < 16; ++i) std::memcpy(pixels + i * 4, palette[(indices >> (2 * i)) & 3], 4);
}

void DecodeBc3Block(const uint8_t* block, uint8_t* pixels) {
    DecodeBc1Block(block + 8, pixels, true);
    int a0 = block[0], a1 = block[1];
    int alphas[8] = {a0, a1};
    if (a0 > a1) {
        for (int i = 1; i < 7; ++i) alphas[i + 1] = ((7 - i) * a0 + i * a1) / 7;
    } else {
        for (int i = 1; i < 5; ++i) alphas[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        alphas[6] = 0;
        alphas[7] = 255;
    }
    uint64_t indices = 0;
    for (int i = 0; i < 6; ++i) indices |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i) pixels[i * 4 + 3] = static_cast<uint8_t>(alphas[(indices >> (3 * i)) & 7]);
}

namespace {

// Calls visit(block_pixels, x0, y0, columns, rows) for each decoded block of
// a level, with the columns and rows of it that lie inside the image.
template <class Visit>
void ForEachBlock(const uint8_t* data, int width, int height, BlockFormat format, Visit visit) {
    uint8_t block[64];
    for (int y0 = 0; y0 < height; y0 += 4) {
        for (int x0 = 0; x0 < width; x0 += 4) {
            if (format == BlockFormat::kBc1) DecodeBc1Block(data, block);
            else DecodeBc3Block(data, block);
            data += BlockBytes(format);
            visit(block, x0, y0, std::min(width - x0, 4), std::min(height - y0, 4));
        }
    }
}

}  // namespace

Image DecodeLevel(const uint8_t* data, int width, int height, BlockFormat format) {
    Image image(width, height);
    ForEachBlock(data, width, height, format, [&](const uint8_t* block, int x0, int y0, int columns, int rows) {
        for (int row = 0; row < rows; ++row)
            std::memcpy(image.Pixel(x0, y0 + row), block + row * 16, static_cast<size_t>(columns) * 4);
    });
    return image;
}

std::array<uint8_t, 4> MeanColour(const uint8_t* data, int width, int height, BlockFormat format) {
    uint64_t sums[4] = {};
    ForEachBlock(data, width, height, format, [&](const uint8_t* block, int, int, int columns, int rows) {
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                for (int c = 0; c < 4; ++c) sums[c] += block[row * 16 + column * 4 + c];
    });
    uint64_t count = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    std::array<uint8_t, 4> mean{};
    for (int c = 0; c < 4; ++c) mean[c] = static_cast<uint8_t>((sums[c] + count / 2) / count);
    return mean;
}

}  // namespace texture_tools
