#include <gtest/gtest.h>

#include "host/user_props.h"

namespace {

TEST(UserPropsTest, StringLookupFollowsTheHostRules) {
    const std::string buffer = "Model = units/tank\r\nPoly\r\n  tags=a, b ,c \r\nEmpty=\r\nmodel=second\r\nx=1=2";
    struct Case {
        const char* key;
        bool found;
        const char* value;
    } cases[] = {
        {"Model", true, "units/tank"}, {"MODEL", true, "units/tank"}, {"poly", true, ""},
        {"Tags", true, "a, b ,c"},     {"empty", true, ""},           {"x", true, "1=2"},
        {"Mod", false, ""},            {"units/tank", false, ""},     {"", false, ""},
    };
    for (const Case& c : cases) {
        std::string value = "unchanged";
        EXPECT_EQ(host::FindUserPropString(buffer, c.key, value), c.found) << c.key;
        if (c.found) {
            EXPECT_EQ(value, c.value) << c.key;
        }
    }
}

TEST(UserPropsTest, IntLookupNeedsDigits) {
    const std::string buffer = "Voxels=12\r\nNeg = -3abc\r\nWord=abc\r\nBare\r\nHuge=99999999999\r\n";
    struct Case {
        const char* key;
        bool found;
        int value;
    } cases[] = {{"voxels", true, 12}, {"neg", true, -3}, {"word", false, 0},
                 {"bare", false, 0},   {"missing", false, 0}, {"huge", true, 2147483647}};
    for (const Case& c : cases) {
        int value = -77;
        EXPECT_EQ(host::FindUserPropInt(buffer, c.key, value), c.found) << c.key;
        if (c.found) {
            EXPECT_EQ(value, c.value) << c.key;
        }
    }
}

}  // namespace
