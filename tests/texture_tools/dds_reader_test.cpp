#include <gtest/gtest.h>

#include <string>

#include "texture_test_images.h"
#include "texture_tools/dds_reader.h"

namespace {

using namespace texture_tools;

// 8x8 DXT1 with four levels: 32 + 8 + 8 + 8 bytes after the header.
std::string ValidFile() { return texture_test::Dds(texture_test::Gradient(8, 8)); }

void Set32(std::string& file, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[offset + i] = static_cast<char>(value >> (8 * i));
}

TEST(DdsReader, DescribesAWrittenFile) {
    DdsReadResult result = ReadDds(ValidFile());
    ASSERT_TRUE(result.ok) << result.reason;
    const DdsInfo& info = result.info;
    EXPECT_EQ(info.format_name, "DXT1");
    EXPECT_EQ(info.block_format, BlockFormat::kBc1);
    EXPECT_EQ(info.width, 8);
    EXPECT_EQ(info.height, 8);
    EXPECT_EQ(info.mip_count, 4);
    EXPECT_EQ(info.linear_size, 32u);
    EXPECT_EQ(info.file_size, 184u);
    ASSERT_EQ(info.levels.size(), 4u);
    EXPECT_EQ(info.levels[3].offset, 176u);
}

TEST(DdsReader, StructuralChecksGiveTheReasonAndOffset) {
    struct Case {
        size_t field;
        uint32_t value;
        const char* reason;
        size_t offset;
    } cases[] = {
        {0, 0x21534444, "not a DDS file: the magic is not \"DDS \"", 0},
        {4, 100, "header size 100, not 124", 4},
        {8, 0x1003, "header flags 0x1003 lack the width or height flag", 8},
        {12, 0, "height 0 is outside 1 to 16384", 12},
        {16, 16385, "width 16385 is outside 1 to 16384", 16},
        {16, 0xFFFFFFFF, "width 4294967295 is outside 1 to 16384", 16},
        {112, 0x200, "cube maps are not supported", 112},
        {112, 0x200000, "volume textures are not supported", 112},
        {76, 0, "pixel format size 0, not 32", 76},
        {84, 0x30315844, "unsupported FourCC \"DX10\"", 84},
        {84, 0x71, "unsupported FourCC 0x00000071", 84},
        {80, 0, "pixel format flags 0x0 name no format", 80},
        {80, 0x40, "unsupported bit count 0", 88},
        {28, 5, "mip count 5 exceeds the 4 levels of 8x8", 28},
        {20, 31, "linear size 31, level 0 has 32 bytes", 20},
        {28, 3, "file is 184 bytes long, its levels end at 176", 176},
    };
    for (const Case& c : cases) {
        std::string file = ValidFile();
        Set32(file, c.field, c.value);
        DdsReadResult result = ReadDds(file);
        EXPECT_FALSE(result.ok) << c.reason;
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(result.offset, c.offset) << c.reason;
    }
    DdsReadResult longer = ReadDds(ValidFile() + '\0');
    EXPECT_EQ(longer.reason, "file is 185 bytes long, its levels end at 184");
    EXPECT_EQ(longer.offset, 184u);
}

TEST(DdsReader, AcceptsWhatCopiedTexturesMayHold) {
    // A mip count of 0, or no mip count flag, means one level.
    std::string one_level = texture_test::Dds(texture_test::Gradient(8, 8)).substr(0, 128 + 32);
    Set32(one_level, 28, 0);
    EXPECT_TRUE(ReadDds(one_level).ok) << ReadDds(one_level).reason;
    Set32(one_level, 8, 0x1007);
    Set32(one_level, 28, 9);
    EXPECT_EQ(ReadDds(one_level).info.mip_count, 1);

    struct Case {
        uint32_t pixel_flags, bit_count_or_four_cc;
        int width, height;
        size_t data_size;
        const char* name;
    } cases[] = {
        {0x41, 32, 4, 2, 32, "RGBA32"}, {0x40, 24, 3, 1, 9, "RGB24"},   {0x20000, 8, 5, 3, 15, "L8"},
        {0x2, 8, 2, 2, 4, "A8"},        {0x4, 0x33545844, 5, 5, 64, "DXT3"},
    };
    for (const Case& c : cases) {
        std::string file = one_level.substr(0, 128) + std::string(c.data_size, '\x11');
        Set32(file, 8, 0x1007);
        Set32(file, 12, static_cast<uint32_t>(c.height));
        Set32(file, 16, static_cast<uint32_t>(c.width));
        Set32(file, 80, c.pixel_flags);
        Set32(file, c.pixel_flags == 0x4 ? 84 : 88, c.bit_count_or_four_cc);
        DdsReadResult result = ReadDds(file);
        EXPECT_TRUE(result.ok) << c.name << ": " << result.reason;
        EXPECT_EQ(result.info.format_name, c.name);
        EXPECT_FALSE(result.info.block_format.has_value()) << c.name;
        EXPECT_FALSE(ReadDds(file.substr(0, file.size() - 1)).ok) << c.name;
    }
}

TEST(DdsReader, EveryPrefixOfAValidFileFails) {
    std::string file = ValidFile();
    for (size_t length = 0; length < file.size(); ++length) {
        DdsReadResult result = ReadDds(std::string_view(file).substr(0, length));
        ASSERT_FALSE(result.ok) << length;
        EXPECT_EQ(result.offset, length);
        const char* expected = length < 4     ? "file ends inside the magic"
                               : length < 128 ? "file ends inside the 128-byte header"
                                              : "file ends inside level ";
        EXPECT_EQ(result.reason.rfind(expected, 0), 0u) << length << ": " << result.reason;
    }
    EXPECT_EQ(ReadDds(file.substr(0, 170)).reason, "file ends inside level 2 (2x2, 8 bytes at 168)");
}

}  // namespace
