#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/stream_memory.h"
#include "support/raised.h"
#include "texture_tools/bmp_writer.h"
#include "texture_tools/converted_format.h"

namespace {

using namespace texture_tools;

// 3x2 pixels numbered 1 to 24 byte by byte, each row followed by 4 bytes
// that are not pixels.
std::vector<uint8_t> Pixels3x2() {
    std::vector<uint8_t> pixels(2 * 16, 0xEE);
    for (int i = 0; i < 12; ++i) pixels[static_cast<size_t>(i)] = static_cast<uint8_t>(i + 1);
    for (int i = 0; i < 12; ++i) pixels[static_cast<size_t>(16 + i)] = static_cast<uint8_t>(i + 13);
    return pixels;
}

std::string Bmp(bool with_alpha) {
    xIo::eMemoryStream stream(64);
    WriteBmp(Pixels3x2().data(), 3, 2, 16, with_alpha, stream);
    return std::string(stream.Data());
}

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) bytes += static_cast<char>(v);
    return bytes;
}

std::string Headers(int bit_count) {
    return Bytes({'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                      // file header
                  40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, bit_count, 0, 0, 0, 0, 0,  // size, width, height, planes, bits
                  24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});       // image size, the rest 0
}

TEST(BmpWriter, RowsBottomUpInBlueGreenRedPaddedToFourBytes) {
    EXPECT_EQ(Bmp(false), Headers(24) + Bytes({15, 14, 13, 19, 18, 17, 23, 22, 21, 0, 0, 0,  // bottom row first
                                               3, 2, 1, 7, 6, 5, 11, 10, 9, 0, 0, 0}));
    EXPECT_EQ(Bmp(true), Headers(32) + Bytes({15, 14, 13, 16, 19, 18, 17, 20, 23, 22, 21, 24,  //
                                              3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12}));
}

TEST(BmpWriter, BadSizesRaiseBeforeWritingAnything) {
    std::vector<uint8_t> pixels(64);
    struct Case {
        int width, height, pitch;
        const char* message;
    } cases[] = {{0, 1, 4, "Bitmap size 0x1 is outside 1 to 16384"},
                 {1, 16385, 4, "Bitmap size 1x16385 is outside 1 to 16384"},
                 {3, 1, 11, "Row pitch 11 is below 12 bytes"}};
    for (const Case& c : cases) {
        xIo::eMemoryStream stream(64);
        EXPECT_EQ(qeltest::RaisedMessage([&] { WriteBmp(pixels.data(), c.width, c.height, c.pitch, true, stream); }),
                  c.message);
        EXPECT_EQ(stream.Size(), 0);
    }
}

TEST(ConvertedFormat, DdsForPowersOfTwoFromFourElseBmp) {
    struct Case {
        int width, height;
        ConvertedFormat format;
    } cases[] = {
        {4, 4, ConvertedFormat::kDds},    {256, 128, ConvertedFormat::kDds}, {16384, 4, ConvertedFormat::kDds},
        {1, 1, ConvertedFormat::kBmp},    {2, 64, ConvertedFormat::kBmp},    {64, 2, ConvertedFormat::kBmp},
        {3, 5, ConvertedFormat::kBmp},    {100, 64, ConvertedFormat::kBmp},  {64, 96, ConvertedFormat::kBmp},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseConvertedFormat(c.width, c.height), c.format) << c.width << "x" << c.height;
    EXPECT_STREQ(Extension(ConvertedFormat::kDds), ".dds");
    EXPECT_STREQ(Extension(ConvertedFormat::kBmp), ".bmp");
}

}  // namespace
