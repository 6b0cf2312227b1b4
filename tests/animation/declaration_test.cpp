// The text of one animation declaration: fields cut at their delimiter sets,
// numbers read as the C library reads them, names trimmed of spaces only.
#include "animation/declaration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using animation::Declaration;
using animation::ParseDeclaration;

struct Case {
    const char* value;
    const char* name;
    const char* selection;
    std::optional<int32_t> start, end;
    const char* fileName;
    float speed;
};

TEST(Declaration, FieldsAreCutAtTheirDelimiterSets) {
    const Case cases[] = {
        {"walk", "walk", "", std::nullopt, std::nullopt, "walk", 0},
        {"walk, legs, 10-20", "walk", "legs", 10, 20, "walk", 0},
        {"walk, legs, 20-10", "walk", "legs", 20, 10, "walk", 0},
        {"run, legs, 0-30, runfast, 150", "run", "legs", 0, 30, "runfast", 150},
        {"run, legs, 0-30,150", "run", "legs", 0, 30, "run", 150},
        // A space after the last comma makes the speed a file name.
        {"run, legs, 0-30, 150", "run", "legs", 0, 30, "150", 0},
        {"idle, all, 0-40", "idle", "all", 0, 40, "idle", 0},
        // Spaces around a frame are delimiters; a missing end takes the scene's.
        {" fly ,  wings ,  5 ", "fly", "wings", 5, std::nullopt, "fly", 0},
        {"a,b,7", "a", "b", 7, std::nullopt, "a", 0},
        // Leading delimiters of a field are skipped: an empty name gives way to the next text.
        {",legs,1-2", "legs", "1-2", std::nullopt, std::nullopt, "legs", 0},
        // Tabs are not trimmed.
        {"\twalk\t, legs", "\twalk\t", "legs", std::nullopt, std::nullopt, "\twalk\t", 0},
        // Digits end at the first other character.
        {"jump, x, 3a-9b, file.x", "jump", "x", 3, 9, "file.x", 0},
        // A file name and a speed with a fraction and exponent.
        {"s, x, 1-2, slow , 2.5e1", "s", "x", 1, 2, "slow", 25},
        // Only spaces after the end frame: an empty file name.
        {"e, x, 1-2,  ", "e", "x", 1, 2, "", 0},
        // A comma right after the end frame leaves no file name: the name.
        {"n, x, 1-2 ,7", "n", "x", 1, 2, "n", 7},
    };
    for (const Case& c : cases) {
        Declaration d = ParseDeclaration(c.value);
        EXPECT_EQ(d.name, c.name) << c.value;
        EXPECT_EQ(d.selection, c.selection) << c.value;
        EXPECT_EQ(d.start, c.start) << c.value;
        EXPECT_EQ(d.end, c.end) << c.value;
        EXPECT_EQ(d.fileName, c.fileName) << c.value;
        EXPECT_EQ(d.speed, c.speed) << c.value;
    }
}

TEST(Declaration, IntegersReadLikeTheCLibraryAndStayInRange) {
    using animation::ReadInteger;
    EXPECT_EQ(ReadInteger("  42x"), 42);
    EXPECT_EQ(ReadInteger("+7"), 7);
    EXPECT_EQ(ReadInteger("-12"), -12);
    EXPECT_EQ(ReadInteger("x12"), 0);
    EXPECT_EQ(ReadInteger(""), 0);
    EXPECT_EQ(ReadInteger("-"), 0);
    EXPECT_EQ(ReadInteger("99999999999999999999"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ReadInteger("-99999999999999999999"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ReadInteger("2147483647"), 2147483647);
    EXPECT_EQ(ReadInteger("-2147483648"), std::numeric_limits<int32_t>::min());
}

TEST(Declaration, FloatsReadLikeTheCLibraryWithAPointInAnyLocale) {
    using animation::ReadFloat;
    EXPECT_EQ(ReadFloat("150"), 150.0f);
    EXPECT_EQ(ReadFloat(" -1.5xyz"), -1.5f);
    EXPECT_EQ(ReadFloat(".5"), 0.5f);
    EXPECT_EQ(ReadFloat("5."), 5.0f);
    EXPECT_EQ(ReadFloat("1e2"), 100.0f);
    EXPECT_EQ(ReadFloat("1e"), 1.0f);   // an exponent needs digits
    EXPECT_EQ(ReadFloat("1e+x"), 1.0f);
    EXPECT_EQ(ReadFloat("."), 0.0f);
    EXPECT_EQ(ReadFloat("abc"), 0.0f);
    EXPECT_EQ(ReadFloat("1,5"), 1.0f);  // a comma is no decimal point
    EXPECT_TRUE(std::isinf(ReadFloat("1e999")));
    EXPECT_EQ(ReadFloat("1e-999"), 0.0f);
}

TEST(Declaration, NamesAreTrimmedOfSpacesOnly) {
    EXPECT_EQ(animation::TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(animation::TrimSpaces("   "), "");
    EXPECT_EQ(animation::TrimSpaces("\ta\t"), "\ta\t");
}

}  // namespace
