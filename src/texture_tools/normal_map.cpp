#include "texture_tools/normal_map.h"

#include <cmath>

namespace texture_tools {

namespace {

uint8_t ToByte(float unit) {
    float scaled = std::round(unit * 255.0f);
    if (!(scaled > 0.0f)) return 0;  // NaN too
    return scaled > 255.0f ? 255 : static_cast<uint8_t>(scaled);
}

}  // namespace

std::array<uint8_t, 4> NormalPixel(float red, float green, float blue, float alpha) {
    float x = 2.0f * red - 1.0f, y = 2.0f * green - 1.0f, z = 2.0f * blue - 1.0f;
    float length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 1e-6f)) {
        x = 0.0f;
        y = 0.0f;
        z = 1.0f;
        length = 1.0f;
    }
    return {ToByte((x / length + 1.0f) * 0.5f), ToByte((y / length + 1.0f) * 0.5f), ToByte((z / length + 1.0f) * 0.5f),
            ToByte(alpha)};
}

void ConvertToNormalMap(uint8_t* pixels, int width, int height, int row_pitch) {
    for (int y = 0; y < height; ++y) {
        uint8_t* p = pixels + static_cast<size_t>(y) * static_cast<size_t>(row_pitch);
        for (int x = 0; x < width; ++x, p += 4) {
            std::array<uint8_t, 4> n = NormalPixel(p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f);
            for (int c = 0; c < 4; ++c) p[c] = n[c];
        }
    }
}

}  // namespace texture_tools
