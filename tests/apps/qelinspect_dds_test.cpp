#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "io/stream_memory.h"
#include "qelinspect/dds_command.h"
#include "support/temp_dir.h"
#include "texture_tools/dds_writer.h"
#include "texture_tools/image.h"

namespace {

using qelinspect::RunDds;

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Inspect(const std::string& file, bool json) {
    std::ostringstream out, err;
    int code = RunDds({file, json}, out, err);
    return {code, out.str(), err.str()};
}

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

class InspectDds : public ::testing::Test {
protected:
    std::string File(const std::string& name, const std::string& bytes) {
        qeltest::WriteFile(dir / name, bytes);
        return dir / name;
    }
    qeltest::TempDir dir;
};

TEST_F(InspectDds, TextShowsTheHeaderAndEveryLevel) {
    Result r = Inspect(File("wall.dds", SolidDds(12, 8, 200, 100, 50, 255)), false);
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

    r = Inspect(File("glass.dds", SolidDds(5, 3, 10, 20, 30, 128)), false);
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

TEST_F(InspectDds, JsonHoldsTheSame) {
    Result r = Inspect(File("glass.dds", SolidDds(5, 3, 10, 20, 30, 128)), true);
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

TEST_F(InspectDds, MalformedFilesExitWith1AndTheReason) {
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
            Result r = Inspect(file, json);
            EXPECT_EQ(r.code, 1);
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, "qelinspect dds: " + file + ": " + c.message + "\n");
        }
    }
    Result missing = Inspect(dir / "missing.dds", false);
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "qelinspect dds: " + dir / "missing.dds" + ": cannot open the file\n");
}

}  // namespace
