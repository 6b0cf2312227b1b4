// Texture files through whole exports: names, destinations, copies and
// conversions, the refresh by last-write time, and the faults reported.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "material_export.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using mattest::MaterialExport;
using namespace std::chrono_literals;

// One model "props/kit" with one box per material.
std::string Kit(const std::string& materials, const std::string& textures, int boxes) {
    std::string nodes;
    for (int i = 0; i < boxes; ++i) {
        if (i) nodes += ",";
        nodes += R"({"name": "box)" + std::to_string(i) + R"(", "props": "Poly\r\n", "material": "m)" +
                 std::to_string(i) + R"(", "object": {"type": "box", "length": 10, "width": 10, "height": 10}})";
    }
    return R"("materials": {)" + materials + R"(}, "textures": {)" + textures +
           R"(}, "nodes": [{"name": "Kit", "props": "Model=props/kit\r\n", "children": [)" + nodes + "]}]";
}

std::string MaterialFile(const MaterialExport& e) { return qeltest::ReadFile(e.Game("props/kit/.material")); }

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Textures, NamesAndFormatsFollowTheSource) {
    MaterialExport e;
    mattest::WriteTga(e.Shared("stone/wall.tga"), 4, 4, 0x808080FF, false);
    mattest::WriteTga(e.Art("leaf.png"), 8, 8, 0x20C02080, true);  // read by content, not by name
    mattest::WriteTga(e.Art("Strip.JPG"), 6, 2, 0xFF0000FF, false);
    mattest::WriteTga(e.Shared("bumps/rough.dds"), 16, 16, 0x8080FFFF, false);  // a Normal Bump file is never copied
    e.Load(Kit(R"(
        "m0": {"type": "standard", "name": "Wall", "maps": {"diffuse": {"texture": "wall"}}},
        "m1": {"type": "standard", "name": "Leaf", "maps": {"diffuse": {"texture": "leaf"}}},
        "m2": {"type": "standard", "name": "Check",
               "maps": {"diffuse": {"texture": "strip"}, "specularLevel": {"texture": "checker", "amount": 20}}},
        "m3": {"type": "standard", "name": "Rough",
               "maps": {"diffuse": {"texture": "nofile"}, "bump": {"texture": "rough", "amount": 50}}})",
               R"(
        "wall": {"type": "bitmap", "file": "d:/-projects-/-bitmaps-/stone/wall.tga"},
        "leaf": {"type": "bitmap", "file": "d:/art/leaf.png"},
        "strip": {"type": "bitmap", "file": "D:/Art/Strip.JPG"},
        "nofile": {"type": "bitmap"},
        "checker": {"type": "checker"},
        "rough": {"type": "normalBump", "normal": "roughmap"},
        "roughmap": {"type": "bitmap", "file": "d:/-projects-/-bitmaps-/bumps/rough.dds"})",
               4));
    EXPECT_EQ(e.Run(), std::vector<std::string>{});
    EXPECT_EQ(MaterialFile(e),
              "{bump \"check\"\r\n\t{diffuse \"strip\"}\r\n\t{specular \"tex2_1\"}\r\n\t{color 0xe5e5e5}\r\n"
              "\t{blend none}\r\n}\r\n"
              "{simple \"leaf\"\r\n\t{diffuse \"leaf\"}\r\n\t{blend blend}\r\n}\r\n"
              "{bump \"rough\"\r\n\t{diffuse \"tex3_0\"}\r\n\t{bump \"rough\"}\r\n\t{blend none}\r\n}\r\n"
              "{simple \"wall\"\r\n\t{diffuse \"$/stone/wall\"}\r\n\t{blend none}\r\n}\r\n");
    EXPECT_EQ(e.Files(),
              (std::vector<std::string>{"props/kit/.material", "props/kit/.mesh", "props/kit/kit.def", "props/kit/kit.mdl",
                                        "props/kit/leaf.dds", "props/kit/rough.dds", "props/kit/strip.bmp",
                                        "props/kit/tex2_1.dds", "props/kit/tex3_0.dds", "texture/common/stone/wall.tga"}));
    // A bitmap with alpha becomes DXT5; an opaque one DXT1; each with its mip chain.
    const std::string leaf = mattest::InspectDds(e.Game("props/kit/leaf.dds"));
    EXPECT_TRUE(Has(leaf, "format: DXT5")) << leaf;
    EXPECT_TRUE(Has(leaf, "mip levels: 4")) << leaf;
    EXPECT_TRUE(Has(leaf, "level 0: 8x8, 64 bytes at 128, mean colour 32 192 32 128")) << leaf;
    // The bump map is a normal map of its samples: (0.5, 0.5, 1) is straight up.
    const std::string rough = mattest::InspectDds(e.Game("props/kit/rough.dds"));
    EXPECT_TRUE(Has(rough, "format: DXT1")) << rough;
    EXPECT_TRUE(Has(rough, "mip levels: 5")) << rough;
    EXPECT_TRUE(Has(rough, "level 0: 16x16")) << rough;
    EXPECT_TRUE(Has(rough, "mean colour 128 128 255 255")) << rough;
    // A side that is no power of two keeps every pixel in a bitmap.
    const std::string strip = mattest::InspectBmp(e.Game("props/kit/strip.bmp"));
    EXPECT_TRUE(Has(strip, "size: 6x2\nbits per pixel: 24 (no alpha)\nrows: bottom-up, 20 bytes each")) << strip;
    EXPECT_TRUE(Has(strip, "mean colour: 255 0 0 255")) << strip;
    // A map without a file of its own is sampled at the procedural size.
    EXPECT_TRUE(Has(mattest::InspectDds(e.Game("props/kit/tex2_1.dds")), "size: 256x256"));
}

TEST(Textures, ASecondExportRewritesOnlyWhatIsOlderThanItsSource) {
    MaterialExport e;
    mattest::WriteTga(e.Art("rock.tga"), 4, 4, 0x604020FF, false);
    mattest::WriteTga(e.Art("moss.jpg"), 4, 4, 0x20A020FF, false);
    e.Load(Kit(R"(
        "m0": {"type": "standard", "name": "Rock", "maps": {"diffuse": {"texture": "rock"}}},
        "m1": {"type": "standard", "name": "Moss", "maps": {"diffuse": {"texture": "moss"}}},
        "m2": {"type": "standard", "name": "Check", "maps": {"diffuse": {"texture": "checker"}}})",
               R"(
        "rock": {"type": "bitmap", "file": "d:/art/rock.tga"},
        "moss": {"type": "bitmap", "file": "d:/art/moss.jpg"},
        "checker": {"type": "checker"})",
               3));
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time(e.Art("rock.tga"), now - 100s);
    fs::last_write_time(e.Art("moss.jpg"), now - 100s);
    ASSERT_EQ(e.Run(), std::vector<std::string>{});
    const std::vector<std::string> targets = {e.Game("props/kit/rock.tga"), e.Game("props/kit/moss.dds"),
                                              e.Game("props/kit/tex2_0.dds")};
    for (const std::string& target : targets) {
        // A copy is as new as the export, not as old as its source.
        ASSERT_TRUE(fs::exists(target)) << target;
        EXPECT_GT(fs::last_write_time(target), now - 10s) << target;
        fs::last_write_time(target, now - 50s);
    }
    const std::string material = MaterialFile(e);

    // Unchanged sources: no texture file is written again.
    ASSERT_EQ(e.Run(), std::vector<std::string>{});
    for (const std::string& target : targets) EXPECT_EQ(fs::last_write_time(target), now - 50s) << target;
    EXPECT_EQ(MaterialFile(e), material);

    // Newer sources are refreshed; the procedural map has no source and stays.
    mattest::WriteTga(e.Art("rock.tga"), 4, 4, 0x102030FF, false);
    mattest::WriteTga(e.Art("moss.jpg"), 8, 8, 0x20A020FF, false);
    ASSERT_EQ(e.Run(), std::vector<std::string>{});
    EXPECT_EQ(qeltest::ReadFile(targets[0]), qeltest::ReadFile(e.Art("rock.tga")));
    EXPECT_GT(fs::last_write_time(targets[0]), now - 10s);
    EXPECT_TRUE(Has(mattest::InspectDds(targets[1]), "size: 8x8"));
    EXPECT_EQ(fs::last_write_time(targets[2]), now - 50s);
    // A destination missing again is written whatever the times.
    fs::remove(targets[2]);
    ASSERT_EQ(e.Run(), std::vector<std::string>{});
    EXPECT_TRUE(fs::exists(targets[2]));
}

TEST(Textures, AFailedCopyIsReportedAndTheExportGoesOn) {
    MaterialExport e;
    mattest::WriteTga(e.Art("rock.tga"), 4, 4, 0x604020FF, false);
    e.Load(Kit(R"(
        "m0": {"type": "standard", "name": "Lost", "maps": {"diffuse": {"texture": "lost"}}},
        "m1": {"type": "standard", "name": "Rock", "maps": {"diffuse": {"texture": "rock"}}})",
               R"(
        "lost": {"type": "bitmap", "file": "d:/art/lost.tga"},
        "rock": {"type": "bitmap", "file": "d:/art/rock.tga"})",
               2));
    EXPECT_EQ(e.Run(), std::vector<std::string>{"W|Предупреждение|Не удалось скопировать текстуру 'd:/art/lost.tga' в "
                                                "'d:/thegame/props/kit/lost.tga'."});
    EXPECT_EQ(MaterialFile(e),
              "{simple \"lost\"\r\n\t{diffuse \"lost\"}\r\n\t{blend none}\r\n}\r\n"
              "{simple \"rock\"\r\n\t{diffuse \"rock\"}\r\n\t{blend none}\r\n}\r\n");
    EXPECT_TRUE(fs::exists(e.Game("props/kit/rock.tga")));
    EXPECT_FALSE(fs::exists(e.Game("props/kit/lost.tga")));
    // No temporary file is left beside the destination.
    EXPECT_EQ(e.Files(), (std::vector<std::string>{"props/kit/.material", "props/kit/.mesh", "props/kit/kit.def",
                                                    "props/kit/kit.mdl", "props/kit/rock.tga"}));
}

TEST(Textures, ASharedPathLeavingTheCommonFolderIsRefused) {
    MaterialExport e;
    mattest::WriteTga(e.Projects("secret/rock.tga"), 4, 4, 0x604020FF, false);
    e.Load(Kit(R"(
        "m0": {"type": "standard", "name": "Rock", "maps": {"diffuse": {"texture": "rock"}}})",
               R"(
        "rock": {"type": "bitmap", "file": "d:/-projects-/-bitmaps-/stone/../../secret/rock.tga"})",
               1));
    EXPECT_EQ(e.Run(), std::vector<std::string>{
                           "E|Ошибка|Общая текстура 'd:/-projects-/-bitmaps-/stone/../../secret/rock.tga' лежит вне "
                           "папки общих текстур 'd:/-projects-/-bitmaps-/'.\nИспользуется имя 'tex0_0'."});
    EXPECT_EQ(MaterialFile(e), "{simple \"rock\"\r\n\t{diffuse \"tex0_0\"}\r\n\t{blend none}\r\n}\r\n");
    EXPECT_EQ(qeltest::ReadFile(e.Game("props/kit/tex0_0.tga")), qeltest::ReadFile(e.Projects("secret/rock.tga")));
    EXPECT_FALSE(fs::exists(e.Game("texture")));
}

// A file on a drive this machine has no folder for cannot be read: the
// texture fails as a missing file does, and the model is exported.
TEST(Textures, AFileWithoutALocalFolderFailsLikeAMissingOne) {
    MaterialExport e;
    e.Load(Kit(R"(
        "m0": {"type": "standard", "name": "Far", "maps": {"diffuse": {"texture": "far"}}},
        "m1": {"type": "standard", "name": "Farther", "maps": {"diffuse": {"texture": "farther"}}})",
               R"(
        "far": {"type": "bitmap", "file": "e:/elsewhere/far.tga"},
        "farther": {"type": "bitmap", "file": "e:/elsewhere/farther.png"})",
               2));
    EXPECT_EQ(e.Run(),
              (std::vector<std::string>{
                  "W|Предупреждение|Не удалось скопировать текстуру 'e:/elsewhere/far.tga' в 'd:/thegame/props/kit/far.tga'.",
                  "W|Предупреждение|Не удалось преобразовать текстуру 'e:/elsewhere/farther.png' в "
                  "'d:/thegame/props/kit/farther.dds'."}));
    EXPECT_EQ(MaterialFile(e),
              "{simple \"far\"\r\n\t{diffuse \"far\"}\r\n\t{blend none}\r\n}\r\n"
              "{simple \"farther\"\r\n\t{diffuse \"farther\"}\r\n\t{blend none}\r\n}\r\n");
    EXPECT_TRUE(fs::exists(e.Game("props/kit/kit.mdl")));
}

}  // namespace
