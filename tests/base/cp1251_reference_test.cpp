#include "base/cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace {

// The C library's own converter, as the reference.
std::string Iconv(const std::string& text, const char* from, const char* to, bool& ok) {
    iconv_t cd = iconv_open(to, from);
    std::string in = text, out(text.size() * 4 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t src_left = in.size(), dst_left = out.size();
    ok = iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<size_t>(-1);
    iconv_close(cd);
    out.resize(out.size() - dst_left);
    return out;
}

TEST(Cp1251Reference, EveryByteMatchesTheCLibrarysConverter) {
    for (int b = 1; b < 256; ++b) {
        std::string byte(1, static_cast<char>(b));
        bool ok;
        std::string expected = Iconv(byte, "CP1251", "UTF-8", ok);
        if (!ok) {
            EXPECT_EQ(b, 0x98);  // the one unassigned byte
            EXPECT_EQ(Cp1251ToUtf8(byte), "\xEF\xBF\xBD");
            continue;
        }
        EXPECT_EQ(Cp1251ToUtf8(byte), expected) << b;
        std::string back;
        EXPECT_TRUE(Utf8ToCp1251(expected, back)) << b;
        EXPECT_EQ(back, byte) << b;
    }
}

}  // namespace
