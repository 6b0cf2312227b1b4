#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "io/stream_memory.h"
#include "qelinspect/bmp_command.h"
#include "qelinspect/dds_command.h"
#include "support/temp_dir.h"
#include "texture_tools/bmp_writer.h"
#include "texture_tools/dds_writer.h"
#include "texture_tools/image.h"

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

// Runs an inspecting command (RunDds, RunBmp) on file.
template <class Options>
Result Run(int (*run)(const Options&, std::ostream&, std::ostream&), const std::string& file, bool json) {
    std::ostringstream out, err;
    int code = run({file, json}, out, err);
    return {code, out.str(), err.str()};
}

Result InspectDds(const std::string& file, bool json) { return Run(qelinspect::RunDds, file, json); }
Result InspectBmp(const std::string& file, bool json) { return Run(qelinspect::RunBmp, file, json); }

class InspectTexture : public ::testing::Test {
protected:
    std::string File(const std::string& name, const std::string& bytes) {
        qeltest::WriteFile(dir / name, bytes);
        return dir / name;
    }
    qeltest::TempDir dir;
};

// The DDS file of a width x height image of one colour, with the options
// texture conversion uses.
std::string SolidDds(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    texture_tools::Image image(width, height);
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = r, image.pixels[i + 1] = g, image.pixels[i + 2] = b, image.pixels[i + 3] = a;
    }
    texture_tools::DdsOptions options;
    options.refinement_passes = 2;
    options.edge = texture_tools::kDdsEdgeWrap;
    xIo::eMemoryStream stream(256);
    texture_tools::WriteDds(image.pixels.data(), width, height, width * 4, 1, options, stream);
    return std::string(stream.Data());
}

// 3x2 pixels: a red row (alpha 255, 0, 51) over two white pixels and a blue
// one. Means: red 5 x 255 / 6, green and blue 2 x 255 / 6 and 3 x 255 / 6,
// alpha (4 x 255 + 51) / 6, rounded.
std::string SmallBmp(bool with_alpha) {
    const uint8_t pixels[] = {255, 0, 0, 255, 255, 0, 0, 0,  255, 0, 0, 51,  //
                              255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 255, 255};
    xIo::eMemoryStream stream(64);
    texture_tools::WriteBmp(pixels, 3, 2, 12, with_alpha, stream);
    return std::string(stream.Data());
}

TEST_F(InspectTexture, DdsTextShowsTheHeaderAndEveryLevel) {
    Result r = InspectDds(File("wall.dds", SolidDds(12, 8, 200, 100, 50, 255)), false);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "format: DXT1 (BC1, colour only)\n"
              "size: 12x8\n"
              "mip levels: 4\n"
              "flags: 0x000A1007\n"
              "linear size: 48\n"
              "pixel format flags: 0x00000004\n"
              "caps: 0x00401008 0x00000000\n"
              "level 0: 12x8, 48 bytes at 128, mean colour 200 101 49 255\n"
              "level 1: 6x4, 16 bytes at 176, mean colour 200 101 49 255\n"
              "level 2: 3x2, 8 bytes at 192, mean colour 200 101 49 255\n"
              "level 3: 1x1, 8 bytes at 200, mean colour 200 101 49 255\n"
              "file: 208 bytes, all levels present\n");
    EXPECT_EQ(r.err, "");

    r = InspectDds(File("glass.dds", SolidDds(5, 3, 10, 20, 30, 128)), false);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "format: DXT5 (BC3, colour and alpha)\n"
              "size: 5x3\n"
              "mip levels: 3\n"
              "flags: 0x000A1007\n"
              "linear size: 32\n"
              "pixel format flags: 0x00000004\n"
              "caps: 0x00401008 0x00000000\n"
              "level 0: 5x3, 32 bytes at 128, mean colour 10 20 30 128\n"
              "level 1: 2x1, 16 bytes at 160, mean colour 10 20 30 128\n"
              "level 2: 1x1, 16 bytes at 176, mean colour 10 20 30 128\n"
              "file: 192 bytes, all levels present\n");
}

TEST_F(InspectTexture, DdsJsonHoldsTheSame) {
    Result r = InspectDds(File("glass.dds", SolidDds(5, 3, 10, 20, 30, 128)), true);
    ASSERT_EQ(r.code, 0) << r.err;
    nlohmann::json expected = nlohmann::json::parse(R"({
        "format": "DXT5", "width": 5, "height": 3, "mip_count": 3, "flags": 659463, "linear_size": 32,
        "pixel_format_flags": 4, "caps": 4198408, "caps2": 0, "file_size": 192,
        "levels": [
            {"width": 5, "height": 3, "offset": 128, "size": 32, "mean_colour": [10, 20, 30, 128]},
            {"width": 2, "height": 1, "offset": 160, "size": 16, "mean_colour": [10, 20, 30, 128]},
            {"width": 1, "height": 1, "offset": 176, "size": 16, "mean_colour": [10, 20, 30, 128]}]})");
    EXPECT_EQ(nlohmann::json::parse(r.out), expected);
}

TEST_F(InspectTexture, MalformedDdsExitsWith1AndTheReason) {
    std::string valid = SolidDds(12, 8, 200, 100, 50, 255);
    std::string bad_size = valid;
    bad_size[4] = 100;
    struct Case {
        std::string bytes;
        std::string message;
    } cases[] = {
        {valid.substr(0, 150), "file ends inside level 0 (12x8, 48 bytes at 128) at byte 150"},
        {valid + "x", "file is 209 bytes long, its levels end at 208 at byte 208"},
        {bad_size, "header size 100, not 124 at byte 4"},
        {"BM", "file ends inside the magic at byte 2"},
    };
    for (const Case& c : cases) {
        std::string file = File("bad.dds", c.bytes);
        for (bool json : {false, true}) {
            Result r = InspectDds(file, json);
            EXPECT_EQ(r.code, 1);
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, "qelinspect dds: " + file + ": " + c.message + "\n");
        }
    }
    Result missing = InspectDds(dir / "missing.dds", false);
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err, "qelinspect dds: " + dir / "missing.dds" + ": cannot open the file\n");
}

TEST_F(InspectTexture, BmpTextAndJson) {
    Result r = InspectBmp(File("tex2_1.bmp", SmallBmp(false)), false);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "size: 3x2\n"
              "bits per pixel: 24 (no alpha)\n"
              "rows: bottom-up, 12 bytes each\n"
              "pixel offset: 54\n"
              "information header size: 40\n"
              "mean colour: 213 85 128 255\n"
              "file: 78 bytes, all rows present\n");
    EXPECT_EQ(r.err, "");

    r = InspectBmp(File("tex2_1.bmp", SmallBmp(true)), true);
    ASSERT_EQ(r.code, 0) << r.err;
    nlohmann::json expected = nlohmann::json::parse(R"({
        "width": 3, "height": 2, "bit_count": 32, "bottom_up": true, "row_size": 12, "pixel_offset": 54,
        "info_size": 40, "file_size": 78, "mean_colour": [213, 85, 128, 179]})");
    EXPECT_EQ(nlohmann::json::parse(r.out), expected);
}

TEST_F(InspectTexture, MalformedBmpExitsWith1AndTheReason) {
    std::string file = File("short.bmp", SmallBmp(false).substr(0, 60));
    for (bool json : {false, true}) {
        Result r = InspectBmp(file, json);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "qelinspect bmp: " + file + ": file size field 78, the file has 60 bytes at byte 2\n");
    }
    Result missing = InspectBmp(dir / "missing.bmp", false);
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err, "qelinspect bmp: " + dir / "missing.bmp" + ": cannot open the file\n");
}

}  // namespace
