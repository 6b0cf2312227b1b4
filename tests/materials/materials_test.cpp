// Engine materials through whole exports: the shader, slots, colour and
// blend rules, the duplicate-name check, and the ".material" file.
#include <gtest/gtest.h>

#include "material_export.h"
#include "support/temp_dir.h"

namespace {

using mattest::MaterialExport;

// A model "props/kit" whose boxes wear the given materials, one box each.
std::string Kit(const std::string& materials, const std::string& textures, const std::vector<std::string>& worn) {
    std::string nodes;
    for (size_t i = 0; i < worn.size(); ++i) {
        if (i) nodes += ",";
        nodes += R"({"name": "box)" + std::to_string(i) + R"(", "props": "Poly\r\n", "material": ")" + worn[i] +
                 R"(", "transform": {"pos": [)" + std::to_string(i * 100) +
                 R"(, 0, 0]}, "object": {"type": "box", "length": 10, "width": 10, "height": 10}})";
    }
    return R"("materials": {)" + materials + R"(}, "textures": {)" + textures +
           R"(}, "nodes": [{"name": "Kit", "props": "Model=props/kit\r\n", "children": [)" + nodes + "]}]";
}

std::string MaterialFile(const MaterialExport& e) { return qeltest::ReadFile(e.Game("props/kit/.material")); }

TEST(Materials, ShaderSlotsAndBlendFollowTheMaterial) {
    MaterialExport e;
    mattest::WriteTga(e.Shared("stone/wall.tga"), 8, 8, 0x808080FF, false);
    mattest::WriteTga(e.Art("dents.tga"), 8, 8, 0x8080FFFF, false);
    mattest::WriteTga(e.Art("glass.tga"), 8, 8, 0x20408080, true);
    e.Load(Kit(R"(
        "plain": {"type": "standard", "name": "Plain", "maps": {"diffuse": {"texture": "wall"}}},
        "dented": {"type": "standard", "name": "Dented",
                   "maps": {"diffuse": {"texture": "wall"}, "bump": {"texture": "dents", "amount": 30}}},
        "shiny": {"type": "standard", "name": "Shiny", "specular": [1, 0.5, 0.25], "shininessStrength": 0.5,
                  "maps": {"diffuse": {"texture": "wall"}, "specularLevel": {"texture": "wall", "amount": 50}}},
        "off": {"type": "standard", "name": "Off",
                "maps": {"diffuse": {"texture": "wall"}, "bump": {"texture": "dents", "amount": 30, "enabled": false}}},
        "glass": {"type": "standard", "name": "Glass", "maps": {"diffuse": {"texture": "glass"}}},
        "veil": {"type": "standard", "name": "Veil", "transparency": 0.5},
        "tiles": {"type": "standard", "name": "Tiles", "maps": {"diffuse": {"texture": "mul"}}},
        "two": {"type": "twoLayer", "name": "Two", "materials": ["plain", "glass"]})",
                   R"(
        "wall": {"type": "bitmap", "file": "d:/-projects-/-bitmaps-/stone/wall.tga"},
        "dents": {"type": "normalBump", "normal": "dentsmap"},
        "dentsmap": {"type": "bitmap", "file": "d:/art/dents.tga"},
        "glass": {"type": "bitmap", "file": "d:/art/glass.tga"},
        "checker": {"type": "checker", "colors": [[0, 0, 0], [1, 1, 1]]},
        "mul": {"type": "rgbMultiply", "maps": ["wall", "checker"]})",
                   {"plain", "dented", "shiny", "off", "glass", "veil", "tiles", "two"}));
    EXPECT_EQ(e.Run(), std::vector<std::string>{});
    EXPECT_EQ(MaterialFile(e),
              "{bump \"dented\"\r\n\t{diffuse \"$/stone/wall\"}\r\n\t{bump \"dents\"}\r\n\t{blend none}\r\n}\r\n"
              "{simple \"glass\"\r\n\t{diffuse \"glass\"}\r\n\t{blend blend}\r\n}\r\n"
              "{simple \"off\"\r\n\t{diffuse \"$/stone/wall\"}\r\n\t{blend none}\r\n}\r\n"
              "{simple \"plain\"\r\n\t{diffuse \"$/stone/wall\"}\r\n\t{blend none}\r\n}\r\n"
              "{bump \"shiny\"\r\n\t{diffuse \"$/stone/wall\"}\r\n\t{specular \"$/stone/wall\"}\r\n"
              "\t{color 0x7fff7f3f}\r\n\t{blend none}\r\n}\r\n"
              "{multiply \"tiles\"\r\n\t{diffuse \"$/stone/wall\"}\r\n\t{diffuse1 \"tex6_1\"}\r\n\t{blend none}\r\n}\r\n"
              "{blend \"two\"\r\n\t{diffuse \"$/stone/wall\"}\r\n\t{diffuse1 \"glass\"}\r\n\t{blend none}\r\n}\r\n"
              "{simple \"veil\"\r\n\t{blend blend}\r\n}\r\n");
    // The shared bitmap is copied once into the common texture folder; the
    // Normal Bump map becomes a normal map, the checker a DDS file.
    EXPECT_EQ(e.Files(), (std::vector<std::string>{"props/kit/.material", "props/kit/.mesh", "props/kit/dents.dds",
                                                    "props/kit/glass.tga", "props/kit/kit.def", "props/kit/kit.mdl",
                                                    "props/kit/tex6_1.dds", "texture/common/stone/wall.tga"}));
    EXPECT_EQ(qeltest::ReadFile(e.Game("texture/common/stone/wall.tga")), qeltest::ReadFile(e.Shared("stone/wall.tga")));
}

TEST(Materials, CorvaneParametersDecideShaderBlendAndModulation) {
    MaterialExport e;
    mattest::WriteTga(e.Art("rock.tga"), 4, 4, 0x604020FF, false);
    e.Load(Kit(R"(
        "rock": {"type": "standard", "name": "Rock", "maps": {"diffuse": {"texture": "rock"}}},
        "tiles": {"type": "standard", "name": "Tiles", "maps": {"diffuse": {"texture": "mul"}}},
        "lit": {"type": "CorvaneMtl", "name": "Lit", "material": "tiles", "modulate2x": true},
        "glow": {"type": "CorvaneMtl", "name": "Glow", "material": "rock", "blend": 3},
        "chrome": {"type": "CorvaneMtl", "name": "Chrome", "material": "rock", "envmap": true, "amount": 0.25,
                   "map": "sky"},
        "masked": {"type": "CorvaneMtl", "name": "Masked", "material": "rock", "envmap": true, "amount": 0.25,
                   "map": "sky", "mask": "checker"},
        "empty": {"type": "CorvaneMtl", "name": "Empty", "blend": 1})",
                   R"(
        "rock": {"type": "bitmap", "file": "d:/art/rock.tga"},
        "sky": {"type": "checker", "colors": [[0, 0, 1], [1, 1, 1]]},
        "checker": {"type": "checker"},
        "mul": {"type": "rgbMultiply", "maps": ["rock", "checker"]})",
                   {"lit", "glow", "chrome", "masked", "empty"}));
    EXPECT_EQ(e.Run(), std::vector<std::string>{});
    EXPECT_EQ(MaterialFile(e),
              "{envmap \"chrome\"\r\n\t{diffuse \"rock\"}\r\n\t{envmap \"tex2_1\"}\r\n\t{amount 0.25}\r\n"
              "\t{blend none}\r\n}\r\n"
              "{simple \"empty\"\r\n\t{blend test}\r\n}\r\n"
              "{simple \"glow\"\r\n\t{diffuse \"rock\"}\r\n\t{blend add}\r\n}\r\n"
              "{multiply \"lit\"\r\n\t{diffuse \"rock\"}\r\n\t{diffuse1 \"tex0_1\"}\r\n\t{blend none}\r\n"
              "\t{modulate2x}\r\n}\r\n"
              "{envmap \"masked\"\r\n\t{diffuse \"rock\"}\r\n\t{envmap \"tex3_2\"}\r\n\t{mask \"tex3_1\"}\r\n"
              "\t{blend none}\r\n}\r\n");
}

TEST(Materials, ASecondMaterialOfTheSameNameIsReportedOnce) {
    MaterialExport e;
    e.Load(Kit(R"(
        "a": {"type": "standard", "name": "Stone"},
        "b": {"type": "standard", "name": "STONE", "transparency": 0.5},
        "c": {"type": "standard", "name": "wall10"},
        "d": {"type": "standard", "name": "wall9"})",
               "", {"a", "b", "c", "d", "a"}));
    EXPECT_EQ(e.Run(), std::vector<std::string>{"E|Ошибка|Повторяющееся имя материала 'stone'!"});
    EXPECT_EQ(MaterialFile(e),
              "{simple \"stone\"\r\n\t{blend none}\r\n}\r\n"
              "{simple \"wall9\"\r\n\t{blend none}\r\n}\r\n"
              "{simple \"wall10\"\r\n\t{blend none}\r\n}\r\n");
}

TEST(Materials, FacesWithoutMaterialNameTheEmptyMaterial) {
    MaterialExport e;
    e.Load(R"("nodes": [{"name": "Kit", "props": "Model=props/kit\r\n", "children": [
        {"name": "box", "props": "Poly\r\n", "object": {"type": "box", "length": 10, "width": 10, "height": 10}}]}])");
    EXPECT_EQ(e.Run(), std::vector<std::string>{});
    EXPECT_EQ(MaterialFile(e), "{simple \"\"\r\n\t{blend none}\r\n}\r\n");
}

}  // namespace
