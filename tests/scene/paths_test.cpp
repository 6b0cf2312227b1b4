#include "scene/paths.h"

#include <gtest/gtest.h>

namespace {

using namespace scene;

TEST(Paths, JoinPutsExactlyOneSlash) {
    EXPECT_EQ(JoinPath("d:/thegame/", "units/tank"), "d:/thegame/units/tank");
    EXPECT_EQ(JoinPath("d:/thegame", "units"), "d:/thegame/units");
    EXPECT_EQ(JoinPath("d:/thegame/", "/units"), "d:/thegame/units");
    EXPECT_EQ(JoinPath("d:/thegame", "/units"), "d:/thegame/units");
    EXPECT_EQ(JoinPath("", "tank"), "/tank");
    EXPECT_EQ(JoinPath("dir", ""), "dir/");
    EXPECT_EQ(JoinPath("dir/", ""), "dir/");
}

TEST(Paths, ModelBaseRepeatsTheNamePart) {
    EXPECT_EQ(ModelBase("d:/thegame/units/tank"), "d:/thegame/units/tank/tank");
    EXPECT_EQ(ModelBase("d:/thegame/units/tank.v2"), "d:/thegame/units/tank.v2/tank");
    EXPECT_EQ(NamePart("units/tank"), "tank");
    EXPECT_EQ(NamePart("tank"), "tank");
}

TEST(Paths, ModelValuesThatLeaveTheResourceTreeAreRefused) {
    for (const char* ok : {"units/tank", "a..b/c", "units/...", "x"}) EXPECT_TRUE(IsSafeModelPath(ok)) << ok;
    for (const char* bad : {"../x", "units/../../x", "..", "/abs", "\\abs", "c:/x", "c:x", "a\\..\\b", "", ".", "units/",
                            "units/."})
        EXPECT_FALSE(IsSafeModelPath(bad)) << bad;
}

}  // namespace
