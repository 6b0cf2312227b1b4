#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "io/stream_memory.h"
#include "texture_test_images.h"
#include "texture_tools/bmp_reader.h"
#include "texture_tools/bmp_writer.h"

namespace {

using namespace texture_tools;

std::string Bmp(const Image& image, bool with_alpha) {
    xIo::eMemoryStream stream(64);
    WriteBmp(image.pixels.data(), image.width, image.height, image.width * 4, with_alpha, stream);
    return std::string(stream.Data());
}

void Set(std::string& file, size_t offset, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) file[offset + i] = static_cast<char>(value >> (8 * i));
}

TEST(BmpReader, WrittenFilesReadBackPixelForPixel) {
    Image image = texture_test::Gradient(7, 5);
    image.Pixel(6, 4)[3] = 9;
    for (bool with_alpha : {false, true}) {
        std::string file = Bmp(image, with_alpha);
        BmpReadResult result = ReadBmp(file);
        ASSERT_TRUE(result.ok) << result.reason;
        EXPECT_EQ(result.info.width, 7);
        EXPECT_EQ(result.info.height, 5);
        EXPECT_TRUE(result.info.bottom_up);
        EXPECT_EQ(result.info.bit_count, with_alpha ? 32 : 24);
        EXPECT_EQ(result.info.row_size, with_alpha ? 28u : 24u);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) {
                uint8_t rgba[4];
                BmpPixel(file, result.info, x, y, rgba);
                const uint8_t* source = image.Pixel(x, y);
                EXPECT_EQ(0, std::memcmp(rgba, source, 3)) << x << "," << y;
                EXPECT_EQ(rgba[3], with_alpha ? source[3] : 255);
            }
    }
}

TEST(BmpReader, StructuralChecksGiveTheReasonAndOffset) {
    // 3x2 at 24 bits: rows of 12 bytes from 54, 78 bytes in all.
    struct Case {
        size_t field;
        uint32_t value;
        int size;
        const char* reason;
        size_t offset;
    } cases[] = {
        {0, 0x4D41, 2, "not a bitmap file: the signature is not \"BM\"", 0},
        {2, 77, 4, "file size field 77, the file has 78 bytes", 2},
        {14, 12, 4, "information header size 12 is not 40 or more within the file", 14},
        {14, 65, 4, "information header size 65 is not 40 or more within the file", 14},
        {18, 0, 4, "width 0 is outside 1 to 16384", 18},
        {22, 0, 4, "height 0 is outside 1 to 16384 either way up", 22},
        {22, 0xFFFFBFFF, 4, "height -16385 is outside 1 to 16384 either way up", 22},
        {26, 2, 2, "2 planes, not 1", 26},
        {28, 8, 2, "8 bits a pixel, not 24 or 32", 28},
        {30, 3, 4, "compression 3, not 0 (none)", 30},
        {34, 25, 4, "image size field 25, the rows take 24", 34},
        {10, 53, 4, "pixel offset 53 is not between the headers' end 54 and the file's end", 10},
        {10, 58, 4, "the rows take 24 bytes from 58, the file has 20", 78},
        {18, 5, 4, "image size field 24, the rows take 32", 34},
    };
    for (const Case& c : cases) {
        std::string file = Bmp(texture_test::Gradient(3, 2), false);
        Set(file, c.field, c.value, c.size);
        BmpReadResult result = ReadBmp(file);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(result.offset, c.offset) << c.reason;
    }
    std::string top_down = Bmp(texture_test::Gradient(3, 2), false);
    Set(top_down, 22, static_cast<uint32_t>(-2), 4);
    BmpReadResult result = ReadBmp(top_down);
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.info.bottom_up);
    EXPECT_EQ(result.info.height, 2);
}

TEST(BmpReader, EveryPrefixOfAValidFileFails) {
    std::string file = Bmp(texture_test::Gradient(3, 2), true);
    for (size_t length = 0; length < file.size(); ++length) {
        BmpReadResult result = ReadBmp(std::string_view(file).substr(0, length));
        ASSERT_FALSE(result.ok) << length;
        const char* expected = length < 2    ? "file ends inside the signature"
                               : length < 54 ? "file ends inside the 54-byte headers"
                                             : "file size field 78, the file has ";
        EXPECT_EQ(result.reason.rfind(expected, 0), 0u) << length << ": " << result.reason;
    }
}

}  // namespace
