#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "io/stream_memory.h"
#include "support/raised.h"
#include "texture_test_images.h"
#include "texture_tools/bc_decode.h"
#include "texture_tools/block_compress.h"
#include "texture_tools/dds_reader.h"
#include "texture_tools/dds_writer.h"
#include "texture_tools/image_quality.h"

namespace {

using namespace texture_tools;
using texture_test::Dds;
using texture_test::Gradient;
using texture_test::Solid;

// The options texture conversion uses.
DdsOptions ExporterOptions() {
    DdsOptions options;
    options.format = 0x409;
    options.mipmaps = 0x3F2;
    options.filter = 0x411;
    options.scale = 1.0f;
    options.refinement_passes = 2;
    options.edge = 3;
    return options;
}

DdsInfo Read(const std::string& file) {
    DdsReadResult result = ReadDds(file);
    EXPECT_TRUE(result.ok) << result.reason << " at " << result.offset;
    return result.info;
}

Image DecodedLevel(const std::string& file, int index) {
    DdsInfo info = Read(file);
    const DdsLevel& level = info.levels.at(static_cast<size_t>(index));
    return DecodeLevel(reinterpret_cast<const uint8_t*>(file.data()) + level.offset, level.width, level.height,
                       info.block_format.value());
}

TEST(DdsWriter, HeaderBytesOfAnOpaqueImage) {
    std::string file = Dds(Gradient(8, 4), ExporterOptions());
    const uint8_t expected[128] = {
        'D', 'D', 'S', ' ',                            // magic
        124, 0, 0, 0,                                  // header size
        0x07, 0x10, 0x0A, 0x00,                        // caps, height, width, pixel format, mip count, linear size
        4, 0, 0, 0,                                    // height
        8, 0, 0, 0,                                    // width
        16, 0, 0, 0,                                   // linear size: two BC1 blocks
        0, 0, 0, 0,                                    // depth
        4, 0, 0, 0,                                    // mip count: 8x4, 4x2, 2x1, 1x1
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 11 reserved words
        32, 0, 0, 0,                                   // pixel format size
        4, 0, 0, 0,                                    // FourCC flag
        'D', 'X', 'T', '1',                            //
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // bit count, four masks
        0x08, 0x10, 0x40, 0x00,                        // complex, texture, mip map
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // caps 2 to 4, reserved
    };
    ASSERT_EQ(file.size(), 128u + 16 + 8 + 8 + 8);
    EXPECT_EQ(0, std::memcmp(file.data(), expected, sizeof expected));
}

TEST(DdsWriter, FormatFollowsAlphaUnlessForced) {
    Image opaque = Gradient(8, 8);
    Image one_translucent = opaque;
    one_translucent.Pixel(7, 7)[3] = 254;
    struct Case {
        const Image* image;
        uint32_t format;
        const char* four_cc;
        size_t top_size;
        int decoded_alpha_of_last_pixel;
    } cases[] = {
        {&opaque, kDdsFormatByAlpha, "DXT1", 32, 255},
        {&one_translucent, kDdsFormatByAlpha, "DXT5", 64, 254},
        {&opaque, kDdsFormatBc3, "DXT5", 64, 255},
        {&one_translucent, kDdsFormatBc1, "DXT1", 32, 255},
    };
    for (const Case& c : cases) {
        DdsOptions options = ExporterOptions();
        options.format = c.format;
        std::string file = Dds(*c.image, options);
        SCOPED_TRACE(c.four_cc);
        EXPECT_EQ(file.substr(84, 4), c.four_cc);
        DdsInfo info = Read(file);
        EXPECT_EQ(info.levels[0].size, c.top_size);
        EXPECT_EQ(DecodedLevel(file, 0).Pixel(7, 7)[3], c.decoded_alpha_of_last_pixel);
    }
}

TEST(DdsWriter, MipChainGoesDownTo1x1) {
    struct Level {
        int width, height;
        size_t size;
    };
    struct Case {
        int width, height;
        uint32_t mipmaps;
        uint32_t caps;
        std::vector<Level> levels;
    } cases[] = {
        {1, 1, kDdsMipChain, 0x1000, {{1, 1, 8}}},
        {3, 5, kDdsMipChain, 0x401008, {{3, 5, 16}, {1, 2, 8}, {1, 1, 8}}},
        {256, 128, kDdsMipChain, 0x401008,
         {{256, 128, 16384}, {128, 64, 4096}, {64, 32, 1024}, {32, 16, 256}, {16, 8, 64}, {8, 4, 16}, {4, 2, 8},
          {2, 1, 8}, {1, 1, 8}}},
        {1, 7, kDdsMipChain, 0x401008, {{1, 7, 16}, {1, 3, 8}, {1, 1, 8}}},
        {256, 128, kDdsMipTopOnly, 0x1000, {{256, 128, 16384}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        DdsOptions options = ExporterOptions();
        options.mipmaps = c.mipmaps;
        DdsInfo info = Read(Dds(Gradient(c.width, c.height), options));
        EXPECT_EQ(info.mip_count, static_cast<int32_t>(c.levels.size()));
        EXPECT_EQ(info.caps, c.caps);
        ASSERT_EQ(info.levels.size(), c.levels.size());
        size_t offset = 128;
        for (size_t i = 0; i < c.levels.size(); ++i) {
            EXPECT_EQ(info.levels[i].width, c.levels[i].width) << i;
            EXPECT_EQ(info.levels[i].height, c.levels[i].height) << i;
            EXPECT_EQ(info.levels[i].size, c.levels[i].size) << i;
            EXPECT_EQ(info.levels[i].offset, offset) << i;
            offset += c.levels[i].size;
        }
        EXPECT_EQ(info.file_size, offset);
    }
}

TEST(DdsWriter, PartialBlocksRepeatTheLastColumnAndRow) {
    Image image = Gradient(6, 5);
    std::vector<uint8_t> level(LevelSize(6, 5, 8));
    CompressLevel(image.View(), BlockFormat::kBc1, true, level.data());
    // Each of the four blocks, compressed as a whole 4x4 block built with
    // the edge pixels repeated, must give the same bytes.
    for (int by = 0; by < 2; ++by)
        for (int bx = 0; bx < 2; ++bx) {
            Image padded(4, 4);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x)
                    std::memcpy(padded.Pixel(x, y), image.Pixel(std::min(bx * 4 + x, 5), std::min(by * 4 + y, 4)), 4);
            uint8_t block[8];
            CompressLevel(padded.View(), BlockFormat::kBc1, true, block);
            EXPECT_EQ(0, std::memcmp(block, level.data() + (by * 2 + bx) * 8, 8)) << bx << "," << by;
        }
    // A pixel with no neighbours in its block gets the block to itself: a
    // single-colour block, as of a 4x4 image of that colour.
    std::string corner = Dds(Solid(5, 5, 200, 100, 50, 255), ExporterOptions());
    std::string whole = Dds(Solid(4, 4, 200, 100, 50, 255), ExporterOptions());
    EXPECT_EQ(corner.substr(128 + 3 * 8, 8), whole.substr(128, 8));
}

TEST(DdsWriter, SolidImagesComeBackWithinTolerance) {
    struct Case {
        uint8_t r, g, b, a;
    } cases[] = {{0, 0, 0, 255},    {255, 255, 255, 255}, {200, 100, 50, 255}, {17, 130, 240, 255},
                 {90, 91, 92, 128}, {255, 0, 128, 0},     {3, 250, 7, 37}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.r) << " " << int(c.g) << " " << int(c.b) << " " << int(c.a));
        std::string file = Dds(Solid(13, 7, c.r, c.g, c.b, c.a), ExporterOptions());
        DdsInfo info = Read(file);
        EXPECT_EQ(info.block_format, c.a == 255 ? BlockFormat::kBc1 : BlockFormat::kBc3);
        for (int index = 0; index < info.mip_count; ++index) {
            Image decoded = DecodedLevel(file, index);
            int worst = 0;
            for (int y = 0; y < decoded.height; ++y)
                for (int x = 0; x < decoded.width; ++x) {
                    const uint8_t* p = decoded.Pixel(x, y);
                    worst = std::max({worst, std::abs(p[0] - c.r), std::abs(p[1] - c.g), std::abs(p[2] - c.b)});
                    ASSERT_EQ(p[3], c.a) << "level " << index << " at " << x << "," << y;
                }
            EXPECT_LE(worst, 2) << "level " << index;
        }
    }
}

TEST(DdsWriter, GradientWithNoiseKeepsItsDetail) {
    Image image = Gradient(64, 64);
    std::string file = Dds(image, ExporterOptions());
    EXPECT_GT(Psnr(image.View(), DecodedLevel(file, 0).View(), 3), 36.5);
}

TEST(DdsWriter, FilterAndEdgeReachTheLevelsBelow) {
    // Box: a 2x2 image goes down to the mean of its four pixels.
    Image checker = Solid(2, 2, 0, 0, 0, 255);
    checker.Pixel(1, 0)[0] = checker.Pixel(0, 1)[0] = 200;
    DdsOptions box = ExporterOptions();
    box.filter = kDdsFilterBox;
    EXPECT_NEAR(DecodedLevel(Dds(checker, box), 1).Pixel(0, 0)[0], 100, 2);

    // A bright first column: with wrapping edges it shows in the last column
    // of the level below, with clamped edges it does not.
    Image stripe = Solid(16, 16, 0, 0, 0, 255);
    for (int y = 0; y < 16; ++y) stripe.Pixel(0, y)[1] = 255;
    DdsOptions wrap = ExporterOptions(), clamp = ExporterOptions();
    clamp.edge = kDdsEdgeClamp;
    int wrapped = DecodedLevel(Dds(stripe, wrap), 1).Pixel(7, 4)[1];
    int clamped = DecodedLevel(Dds(stripe, clamp), 1).Pixel(7, 4)[1];
    EXPECT_GT(wrapped, 8);
    EXPECT_LE(clamped, 4);
}

TEST(DdsWriter, ScaleResizesTheTopLevel) {
    struct Case {
        int width, height;
        float scale;
        int top_width, top_height, mip_count;
    } cases[] = {{8, 6, 0.5f, 4, 3, 3}, {3, 3, 0.3f, 1, 1, 1}, {4, 2, 2.0f, 8, 4, 4}, {1, 16, 1.9375f, 2, 31, 5}};
    for (const Case& c : cases) {
        DdsOptions options = ExporterOptions();
        options.scale = c.scale;
        DdsInfo info = Read(Dds(Gradient(c.width, c.height), options));
        EXPECT_EQ(info.width, c.top_width) << c.scale;
        EXPECT_EQ(info.height, c.top_height) << c.scale;
        EXPECT_EQ(info.mip_count, c.mip_count) << c.scale;
    }
}

TEST(DdsWriter, RowPitchSkipsThePaddingOfEachRow) {
    Image image = Gradient(5, 3);
    std::vector<uint8_t> padded(3 * 24, 0xCD);
    for (int y = 0; y < 3; ++y) std::memcpy(padded.data() + y * 24, image.Pixel(0, y), 20);
    xIo::eMemoryStream stream(256);
    WriteDds(padded.data(), 5, 3, 24, 1, ExporterOptions(), stream);
    EXPECT_EQ(std::string(stream.Data()), Dds(image, ExporterOptions()));
}

TEST(DdsWriter, BadArgumentsRaiseBeforeWritingAnything) {
    std::vector<uint8_t> pixels(10000 * 4 * 2, 255);
    auto options_with = [](auto change) {
        DdsOptions options;
        change(options);
        return options;
    };
    struct Case {
        int width, height, pitch, planes;
        DdsOptions options;
        const char* message;
    } cases[] = {
        {0, 4, 0, 1, {}, "DDS image size 0x4 is outside 1 to 16384"},
        {4, 16385, 16, 1, {}, "DDS image size 4x16385 is outside 1 to 16384"},
        {4, 4, 15, 1, {}, "Row pitch 15 is below 16 bytes"},
        {4, 4, 16, 2, {}, "DDS images have 1 plane, not 2"},
        {4, 4, 16, 1, options_with([](DdsOptions& o) { o.format = 0x400; }), "Unknown DDS format code 0x400"},
        {4, 4, 16, 1, options_with([](DdsOptions& o) { o.mipmaps = 0x3F1; }), "Unknown DDS mip-map code 0x3F1"},
        {4, 4, 16, 1, options_with([](DdsOptions& o) { o.filter = 0x412; }), "Unknown DDS filter code 0x412"},
        {4, 4, 16, 1, options_with([](DdsOptions& o) { o.edge = 2; }), "Unknown DDS edge mode 2"},
        {4, 4, 16, 1, options_with([](DdsOptions& o) { o.edge = 4; }), "Unknown DDS edge mode 4"},
        {4, 4, 16, 1, options_with([](DdsOptions& o) { o.refinement_passes = 3; }),
         "DDS refinement passes must be 1 or 2, not 3"},
        {4, 4, 16, 1, options_with([](DdsOptions& o) { o.scale = 0; }), "Bad DDS scale 0"},
        {4, 4, 16, 1, options_with([](DdsOptions& o) { o.scale = NAN; }), "Bad DDS scale nan"},
        {10000, 2, 40000, 1, options_with([](DdsOptions& o) { o.scale = 2; }),
         "DDS scale 2 makes a side of 10000 pixels more than 16384"},
    };
    for (const Case& c : cases) {
        xIo::eMemoryStream stream(64);
        EXPECT_EQ(qeltest::RaisedMessage(
                      [&] { WriteDds(pixels.data(), c.width, c.height, c.pitch, c.planes, c.options, stream); }),
                  c.message);
        EXPECT_EQ(stream.Size(), 0) << c.message;
    }
}

}  // namespace
