#include "base/cp1251.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1251, RoundTripOfEveryDefinedByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x98) all += static_cast<char>(b);
    std::string back;
    ASSERT_TRUE(Utf8ToCp1251(Cp1251ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(Cp1251, KnownLetters) {
    EXPECT_EQ(Cp1251ToUtf8("\xCE\xF8\xE8\xE1\xEA\xE0"), "Ошибка");
    EXPECT_EQ(Cp1251ToUtf8("\xA8\xB8\xB9"), "Ёё№");
    std::string out;
    ASSERT_TRUE(Utf8ToCp1251("Танк1", out));
    EXPECT_EQ(out, "\xD2\xE0\xED\xEA" "1");
}

TEST(Cp1251, RefusesWhatTheCodePageCannotHold) {
    std::string out;
    EXPECT_FALSE(Utf8ToCp1251("日本", out));         // not in the code page
    EXPECT_FALSE(Utf8ToCp1251("\xC3\xA9", out));     // é: Latin-1, not 1251
    EXPECT_FALSE(Utf8ToCp1251("\xD0", out));         // truncated sequence
    EXPECT_FALSE(Utf8ToCp1251("\xC0\xAF", out));     // overlong encoding
    EXPECT_FALSE(Utf8ToCp1251("\xED\xA0\x80", out)); // surrogate
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
}

}  // namespace
