#include <gtest/gtest.h>

#include <cstring>

#include "mesh_helpers.h"
#include "volumes/evlm_image.h"
#include "volumes/evlm_reader.h"

namespace {

using qeltest::MeshOf;
using qeltest::UnitCube;
using volumes::BuildEvlmImage;
using volumes::EvlmImage;
using volumes::HexText;
using volumes::HexToBytes;
using volumes::ReadEvlmImage;

template <class T>
T At(const std::string& bytes, size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

std::string CubeImage() { return BuildEvlmImage(*UnitCube(), host::Matrix3(), 1.0f); }

TEST(EvlmImage, CubeHasEightVerticesThirtySixIndicesAndTwelveSides) {
    const std::string image = CubeImage();
    ASSERT_EQ(image.size(), 8u + 4 + 8 * 12 + 4 + 4 + 36 * 2 + 4 + 4 + 12);
    EXPECT_EQ(HexText(image).substr(0, 16), "45564c4d56455254");  // "EVLM" "VERT"
    EXPECT_EQ(At<uint32_t>(image, 8), 8u);
    EXPECT_EQ(image.substr(108, 4), "INDX");
    EXPECT_EQ(At<uint32_t>(image, 112), 36u);
    // Face 0 is (0, 2, 1): stored from the last corner back.
    EXPECT_EQ(At<uint16_t>(image, 116), 1u);
    EXPECT_EQ(At<uint16_t>(image, 118), 2u);
    EXPECT_EQ(At<uint16_t>(image, 120), 0u);
    EXPECT_EQ(image.substr(188, 4), "SIDE");
    EXPECT_EQ(At<uint32_t>(image, 192), 12u);
    EXPECT_EQ(image.substr(196), std::string(12, '\x01'));  // material index 0 gives side 1
}

TEST(EvlmImage, VerticesGoThroughTheOffsetThenTheMasterScale) {
    const std::string image = BuildEvlmImage(*MeshOf({{1, 0, 0}}, {}), host::Matrix3::Translation({1, 2, 3}), 0.5f);
    EXPECT_EQ(At<float>(image, 12), 1.0f);
    EXPECT_EQ(At<float>(image, 16), 1.0f);
    EXPECT_EQ(At<float>(image, 20), 1.5f);
}

TEST(EvlmImage, SidesAreTheMaterialIndexPlusOneInEightBits) {
    const std::string image = BuildEvlmImage(
        *MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 1, 2}, {0, 1, 2}}, {4, 254, 255}), host::Matrix3(),
        1.0f);
    EXPECT_EQ(image.substr(image.size() - 3), std::string("\x05\xff\x00", 3));
}

TEST(EvlmImage, IndicesKeepTheLowSixteenBits) {
    // The writer refuses such meshes; the image itself only ever holds 16 bits.
    std::vector<host::Point3> verts(70000);
    const std::string image = BuildEvlmImage(*MeshOf(verts, {{65536, 65537, 69999}}), host::Matrix3(), 1.0f);
    const size_t indices = 8 + 4 + verts.size() * 12 + 8;
    EXPECT_EQ(At<uint16_t>(image, indices), 69999u & 0xFFFFu);
    EXPECT_EQ(At<uint16_t>(image, indices + 2), 1u);
    EXPECT_EQ(At<uint16_t>(image, indices + 4), 0u);
}

TEST(EvlmHex, LowerCaseDigitsHighHalfFirst) {
    EXPECT_EQ(HexText(std::string("\x0a\xf3\x00\x10", 4)), "0af30010");
    EXPECT_EQ(HexText(""), "");
    std::string bytes, error;
    ASSERT_TRUE(HexToBytes("0af30010", bytes, error)) << error;
    EXPECT_EQ(bytes, std::string("\x0a\xf3\x00\x10", 4));
    struct Bad {
        const char* text;
        const char* error;
    };
    for (const Bad& bad : {Bad{"0af", "odd number of hexadecimal digits (3)"},
                           Bad{"0AF3", "character 1 is not a lower-case hexadecimal digit"},
                           Bad{"0ag3", "character 2 is not a lower-case hexadecimal digit"},
                           Bad{"0a 3", "character 2 is not a lower-case hexadecimal digit"}}) {
        EXPECT_FALSE(HexToBytes(bad.text, bytes, error)) << bad.text;
        EXPECT_EQ(error, bad.error);
    }
}

TEST(EvlmReader, ReadsBackWhatWasWritten) {
    auto mesh = MeshOf({{0, 0, 0}, {2, 0, 0}, {0, 3, 0}, {0, 0, 4}}, {{0, 2, 1}, {0, 1, 3}}, {0, 6});
    std::string bytes, error;
    ASSERT_TRUE(HexToBytes(HexText(BuildEvlmImage(*mesh, host::Matrix3(), 0.25f)), bytes, error)) << error;
    EvlmImage image;
    ASSERT_TRUE(ReadEvlmImage(bytes, image, error)) << error;
    ASSERT_EQ(image.vertices.size(), 4u);
    EXPECT_EQ(image.vertices[2].y, 0.75f);
    EXPECT_EQ(image.vertices[3].z, 1.0f);
    ASSERT_EQ(image.faces.size(), 2u);
    EXPECT_EQ((std::vector<int>{image.faces[1].index[0], image.faces[1].index[1], image.faces[1].index[2]}),
              (std::vector<int>{3, 1, 0}));
    EXPECT_EQ(image.faces[0].side, 1);
    EXPECT_EQ(image.faces[1].side, 7);
}

TEST(EvlmReader, EveryTruncationFailsCleanly) {
    const std::string image = CubeImage();
    EvlmImage decoded;
    std::string error;
    for (size_t length = 0; length < image.size(); ++length) {
        error.clear();
        EXPECT_FALSE(ReadEvlmImage(std::string_view(image).substr(0, length), decoded, error)) << length;
        EXPECT_EQ(error.rfind("byte ", 0), 0u) << length << ": " << error;
    }
    EXPECT_TRUE(ReadEvlmImage(image, decoded, error)) << error;
    EXPECT_FALSE(ReadEvlmImage(image + '\0', decoded, error));
    EXPECT_EQ(error, "byte 208: 1 bytes after the image");
}

TEST(EvlmReader, StructuralFaultsNameTheirPlace) {
    struct Case {
        size_t offset;  // where the image is patched
        std::string patch;
        const char* error;
    };
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
    const Case cases[] = {
        {0, "EVLN", "byte 0: tag EVLM expected"},
        {4, "VERX", "byte 4: tag VERT expected"},
        {8, u32(0xFFFFFFFF), "byte 12: 4294967295 vertices, more than 16-bit indices reach"},
        {8, u32(65537), "byte 12: 65537 vertices, more than 16-bit indices reach"},
        {8, u32(20), "byte 12: 20 vertices need 240 bytes, 196 left"},
        {8, u32(9), "byte 120: tag INDX expected"},
        {8, u32(7), "byte 96: tag INDX expected"},
        {112, u32(35), "byte 116: index count 35 is not a multiple of 3"},
        {112, u32(0x7FFFFFFE), "byte 116: 2147483646 indices need 4294967292 bytes, 92 left"},
        {120, u16(8), "byte 120: index 8 of face 0 is not below the 8 vertices"},
        {192, u32(11), "byte 196: face count 11 differs from the 12 faces of the indices"},
        {188, "side", "byte 188: tag SIDE expected"},
    };
    for (const Case& c : cases) {
        std::string image = CubeImage();
        image.replace(c.offset, c.patch.size(), c.patch);
        EvlmImage decoded;
        std::string error;
        EXPECT_FALSE(ReadEvlmImage(image, decoded, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

TEST(EvlmReader, AnEmptyPolyhedronIsWellFormed) {
    const std::string image = BuildEvlmImage(*MeshOf({}, {}), host::Matrix3(), 1.0f);
    EXPECT_EQ(HexText(image), "45564c4d56455254" "00000000" "494e4458" "00000000" "53494445" "00000000");
    EvlmImage decoded;
    std::string error;
    EXPECT_TRUE(ReadEvlmImage(image, decoded, error)) << error;
    EXPECT_TRUE(decoded.vertices.empty() && decoded.faces.empty());
}

}  // namespace
