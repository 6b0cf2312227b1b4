#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "io/stream_memory.h"
#include "qelinspect/bmp_command.h"
#include "support/temp_dir.h"
#include "texture_tools/bmp_writer.h"

namespace {

using qelinspect::RunBmp;

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Inspect(const std::string& file, bool json) {
    std::ostringstream out, err;
    int code = RunBmp({file, json}, out, err);
    return {code, out.str(), err.str()};
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

class InspectBmp : public ::testing::Test {
protected:
    std::string File(const std::string& name, const std::string& bytes) {
        qeltest::WriteFile(dir / name, bytes);
        return dir / name;
    }
    qeltest::TempDir dir;
};

TEST_F(InspectBmp, TextAndJson) {
    Result r = Inspect(File("tex2_1.bmp", SmallBmp(false)), false);
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

    r = Inspect(File("tex2_1.bmp", SmallBmp(true)), true);
    ASSERT_EQ(r.code, 0) << r.err;
    nlohmann::json expected = nlohmann::json::parse(R"({
        "width": 3, "height": 2, "bit_count": 32, "bottom_up": true, "row_size": 12, "pixel_offset": 54,
        "info_size": 40, "file_size": 78, "mean_colour": [213, 85, 128, 179]})");
    EXPECT_EQ(nlohmann::json::parse(r.out), expected);
}

TEST_F(InspectBmp, MalformedFilesExitWith1AndTheReason) {
    std::string file = File("short.bmp", SmallBmp(false).substr(0, 60));
    for (bool json : {false, true}) {
        Result r = Inspect(file, json);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "qelinspect bmp: " + file + ": file size field 78, the file has 60 bytes at byte 2\n");
    }
    Result missing = Inspect(dir / "missing.bmp", false);
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "qelinspect bmp: " + dir / "missing.bmp" + ": cannot open the file\n");
}

}  // namespace
