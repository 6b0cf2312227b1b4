#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "texture_tools/normal_map.h"

namespace {

using texture_tools::ConvertToNormalMap;
using texture_tools::NormalPixel;
using Pixel = std::array<uint8_t, 4>;

TEST(NormalMap, ColourGivesTwiceItMinusOneMadeUnitLength) {
    struct Case {
        float r, g, b, a;
        Pixel expected;
    } cases[] = {
        {0.5f, 0.5f, 1.0f, 1.0f, {128, 128, 255, 255}},  // straight up
        {1.0f, 0.5f, 0.5f, 0.5f, {255, 128, 128, 128}},  // along x; alpha kept
        {0.0f, 0.5f, 0.5f, 0.0f, {0, 128, 128, 0}},      // along -x
        {1.0f, 1.0f, 0.5f, 1.0f, {218, 218, 128, 255}},  // (1, 1, 0) / sqrt 2
        {0.75f, 0.5f, 0.5f, 1.0f, {255, 128, 128, 255}}, // short vectors are lengthened
        {0.5f, 0.5f, 0.0f, 1.0f, {128, 128, 0, 255}},    // a downward normal stays downward
        {0.5f, 0.5f, 0.5f, 1.0f, {128, 128, 255, 255}},  // no direction: flat
        {NAN, 0.5f, 0.5f, NAN, {128, 128, 255, 0}},
    };
    for (const auto& c : cases) {
        Pixel p = NormalPixel(c.r, c.g, c.b, c.a);
        EXPECT_EQ(p, c.expected) << c.r << " " << c.g << " " << c.b;
    }
}

TEST(NormalMap, PixelBufferIsConvertedInPlaceRowByRow) {
    // 2x2 pixels with a 12-byte pitch: the 4 bytes after each row stay.
    std::vector<uint8_t> pixels = {128, 128, 255, 77, 255, 128, 128, 255, 1, 2, 3, 4,
                                   255, 255, 128, 9,  0,   0,   0,   255, 5, 6, 7, 8};
    ConvertToNormalMap(pixels.data(), 2, 2, 12);
    float d = 1.0f / std::sqrt(3.0f);  // (-1, -1, -1) made unit length
    uint8_t low = static_cast<uint8_t>(std::round((1.0f - d) / 2 * 255));
    std::vector<uint8_t> expected = {128, 128, 255, 77, 255, 128, 128, 255, 1, 2, 3, 4,
                                     218, 218, 128, 9,  low, low, low, 255, 5, 6, 7, 8};
    EXPECT_EQ(pixels, expected);
}

}  // namespace
