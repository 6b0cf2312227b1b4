#include "scene/properties.h"

#include <gtest/gtest.h>

#include "scene/node_name.h"

namespace {

using namespace scene;

TEST(Properties, NormalisedIntoOneLine) {
    EXPECT_EQ(NormalizePropertyText("Model=a\r\nPoly\r\n"), "Model=a;Poly;");
    EXPECT_EQ(NormalizePropertyText("a\tb\nc"), "abc");
    // Code page 1251 letters in values stay.
    EXPECT_EQ(NormalizePropertyText("Tags=\xD2\xE0\xED\xEA"), "Tags=\xD2\xE0\xED\xEA");
}

TEST(Properties, EntriesKeysAndValues) {
    struct Case {
        const char* text;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"Model=units/tank\r\n", "model", "units/tank"},
        {"Model = a", "Model", std::nullopt},       // the space belongs to the key
        {"Model = a", "Model ", " a"},
        {"a=b=c", "a", "b"},                         // a second '=' cuts the value
        {"Poly", "POLY", ""},
        {"x;Obstacle;y", "obstacle", ""},
        {"Obstacle=0;Obstacle=1", "Obstacle", "0"},  // the first entry wins
        {"Model2=x", "Model", std::nullopt},
        {"", "Model", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PropertyValue(c.text, c.key), c.value) << c.text << " / " << c.key;
        EXPECT_EQ(HasPropertyKey(c.text, c.key), c.value.has_value()) << c.text;
    }
}

TEST(Properties, PassThroughLineDropsReservedKeys) {
    EXPECT_EQ(RebuildPropertyLine("Model=a\r\nPoly\r\n", true), "");
    EXPECT_EQ(RebuildPropertyLine("Model=a\r\nPoly\r\n", false), "Model=a;Poly;");
    EXPECT_EQ(RebuildPropertyLine("obstacle\r\nspeed=1,5\r\nIKTYPE=socket\r\nhold=a b", true), "obstacle;speed=1,5;");
    EXPECT_EQ(RebuildPropertyLine("a=b=c;d", false), "a=b;d;");
    for (const char* key : {"IKMin", "lodcontrolbone", "NoGetShadows", "HOLD", "AnimationAuto", "type"})
        EXPECT_TRUE(IsReservedKey(key)) << key;
    for (const char* key : {"Obstacle", "Volume", "CommonMesh", "Land", "holds"}) EXPECT_FALSE(IsReservedKey(key)) << key;
}

TEST(NodeName, CleanName) {
    struct Case {
        const char* name;
        bool strip;
        const char* clean;
    } cases[] = {
        {"Box 01", false, "box_01"},
        {"a\"b", false, "a'b"},
        {"\xD2\xE0\xED\xEA\xE0", false, "_____"},
        {"\xD2\xE0\xED\xEA" "1", false, "____1"},
        {"wall_vol_dup", true, "wall_vol"},
        {"wall_dup_vol", true, "wall"},
        {"Wall_VOL", true, "wall"},
        {"_vol", true, "_vol"},      // not longer than 4 characters
        {"a_vol", true, "a"},
        {"wall_vol", false, "wall_vol"},
        {"Tab\there", false, "tab_here"},
    };
    for (const Case& c : cases) EXPECT_EQ(CleanName(c.name, c.strip), c.clean) << c.name;
}

TEST(NodeName, LodIndex) {
    EXPECT_EQ(LodIndexOfName("tree_LOD2"), 2);
    EXPECT_EQ(LodIndexOfName("tree_lod"), 0);
    EXPECT_EQ(LodIndexOfName("tree"), 0);
    EXPECT_EQ(LodIndexOfName("rock_lod1"), 1);
    EXPECT_EQ(LodIndexOfName("a_lod12_lod3"), 12);
    EXPECT_EQ(LodIndexOfName("a_lod99999999999"), 0);
}

}  // namespace

namespace {

// Texts with stray control characters take the slow way through the
// normalised line; both ways must agree.
TEST(Properties, StrayControlCharactersAreDroppedInsideEntries) {
    using namespace scene;
    EXPECT_EQ(PropertyValue("Mo\ndel=a\tb\r\n", "Model"), "ab");
    EXPECT_EQ(PropertyValue("x\r\rModel=a", "Model"), "a");
    EXPECT_EQ(PropertyValue("Model=a\n", "Model"), "a");
    EXPECT_EQ(PropertyValue("a\r\nModel=b\r", "Model"), "b");
    EXPECT_EQ(RebuildPropertyLine("\na\r\n;b=c\r\n", false), "a;;b=c;");
    EXPECT_EQ(RebuildPropertyLine("a\r\n\nb", false), "a;b;");
}

}  // namespace

namespace {

TEST(Properties, KeyMaskFindsEveryKeyInOnePass) {
    EXPECT_EQ(scene::PropertyKeyMask("body\r\nAREA=1\r\nx", {"Volume", "Area", "Body", "y"}), 0x6u);
    EXPECT_EQ(scene::PropertyKeyMask("", {"Volume"}), 0u);
}

}  // namespace
