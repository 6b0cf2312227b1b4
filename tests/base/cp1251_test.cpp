#include <gtest/gtest.h>

#include "base/cp1251.h"

namespace {

TEST(Cp1251Test, RoundTripsEveryAssignedByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x98) all += static_cast<char>(b);
    std::string back;
    ASSERT_TRUE(Utf8ToCp1251(Cp1251ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(Cp1251Test, KnownCharacters) {
    struct Case {
        const char* utf8;
        const char* cp1251;
    } cases[] = {{"\xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0", "\xCE\xF8\xE8\xE1\xEA\xE0"},  // Ошибка
                 {"\xD0\x81\xD1\x91", "\xA8\xB8"},                                                // Ёё
                 {"\xE2\x84\x96 \xE2\x82\xAC", "\xB9 \x88"},                                      // № €
                 {"plain/path.tga", "plain/path.tga"}};
    for (const Case& c : cases) {
        std::string out;
        ASSERT_TRUE(Utf8ToCp1251(c.utf8, out)) << c.utf8;
        EXPECT_EQ(out, c.cp1251);
        EXPECT_EQ(Cp1251ToUtf8(c.cp1251), c.utf8);
    }
}

TEST(Cp1251Test, RefusesWhatTheCodePageLacksAndMalformedUtf8) {
    const char* cases[] = {"\xE4\xB8\xAD",           // a CJK character
                           "\xC3\xA9",               // é is not in the code page
                           "\xF0\x9F\x98\x80",       // an emoji
                           "\xD0",                   // truncated sequence
                           "\xC0\xAF",               // overlong encoding
                           "\xED\xA0\x80",           // a surrogate
                           "\xFF"};
    for (const char* text : cases) {
        std::string out;
        EXPECT_FALSE(Utf8ToCp1251(text, out)) << text;
    }
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
}

}  // namespace
