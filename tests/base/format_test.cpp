#include "base/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(FormatNumbered, ReplacesEveryKeyInAnyOrder) {
    EXPECT_EQ((format("%1% and %1%") % "x").str(), "x and x");
    EXPECT_EQ((format("%2%-%1%") % "a" % "b").str(), "b-a");
    EXPECT_EQ((format("%1%: %2%") % "only").str(), "only: %2%");
    EXPECT_EQ((format("File not found - %1%") % std::string("a.mdl")).str(), "File not found - a.mdl");
}

TEST(FormatNumbered, ArgumentIsNeverSearchedForItsOwnKey) {
    // The inserted text holds "%1%" again: it must not be replaced forever.
    EXPECT_EQ((format("<%1%>") % "%1%").str(), "<%1%>");
    // A later argument's key inside an earlier argument is replaced.
    EXPECT_EQ((format("%1%") % "[%2%]" % "b").str(), "[b]");
}

TEST(FormatNumbered, NumbersInDecimalAndG) {
    EXPECT_EQ((format("%1%") % int32_t{-7}).str(), "-7");
    EXPECT_EQ((format("%1%") % uint32_t{4000000000u}).str(), "4000000000");
    EXPECT_EQ((format("%1%") % 0.1f).str(), "0.1");
    EXPECT_EQ((format("%1%") % 0.00001).str(), "1e-005");
}

TEST(FormatPlain, TextWithoutPlaceholdersStaysUnchanged) {
    EXPECT_EQ((format("no placeholders") % "a" % 3 % 1.5).str(), "no placeholders");
}

TEST(FormatPrintf, EachArgumentFillsTheNextPiece) {
    EXPECT_EQ((format("value %d, angle %.2f") % 3 % 1.5).str(), "value 3, angle 1.50");
    EXPECT_EQ((format("100%% done %d") % 5).str(), "100%% done 5");
    EXPECT_EQ((format("%s and %s") % "a" % std::string("b")).str(), "a and b");
    // A '%' that is the last character is no placeholder.
    EXPECT_EQ((format("50%") % 1).str(), "50%");
    // Arguments beyond the placeholders are ignored.
    EXPECT_EQ((format("%d") % 1 % 2).str(), "1");
}

TEST(FormatPrintf, MismatchedArgumentsAreConvertedNotMisread) {
    EXPECT_EQ((format("[%d]") % "text").str(), "[text]");
    EXPECT_EQ((format("[%s]") % 12).str(), "[12]");
    EXPECT_EQ((format("[%.1f]") % 2).str(), "[2.0]");
    EXPECT_EQ((format("[%d]") % 2.75).str(), "[2]");
    EXPECT_EQ((format("[%ld]") % -3).str(), "[-3]");
    // "%n" would write through the argument: printed literally instead.
    EXPECT_EQ((format("[%n]") % 1).str(), "[%n]");
}

TEST(FormatPrintf, LongPiecesAreCutAtTheBuffer) {
    std::string big(10000, 'a');
    std::string result = (format("%s") % big).str();
    EXPECT_EQ(result.size(), format::kFmtBufSize - 1);
}

TEST(FormatFloat, GFormWithThreeDigitExponent) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0.00001, "1e-005"}, {0.5, "0.5"},     {100, "100"},         {1234567, "1.23457e+006"},
        {0, "0"},            {-2.25, "-2.25"}, {1e100, "1e+100"},    {1.5e-300, "1.5e-300"},
        {123456, "123456"},  {0.0001, "0.0001"}, {-1e-10, "-1e-010"}, {3.14159265, "3.14159"},
    };
    for (const Case& c : cases) EXPECT_STREQ(ToS(c.value), c.text) << c.value;
    EXPECT_STREQ(ToS(std::numeric_limits<double>::infinity()), "inf");
}

TEST(FormatInt, ToSOfIntegers) {
    EXPECT_STREQ(ToS(int32_t{INT32_MIN}), "-2147483648");
    EXPECT_STREQ(ToS(uint32_t{UINT32_MAX}), "4294967295");
}

TEST(ParseInt, HexDecimalAndOddInput) {
    EXPECT_EQ(ParseInt(nullptr), 0);
    EXPECT_EQ(ParseInt("0x1F"), 31);
    EXPECT_EQ(ParseInt("0X10"), 16);
    EXPECT_EQ(ParseInt("0x1G"), 16);
    EXPECT_EQ(ParseInt("-12abc"), -12);
    EXPECT_EQ(ParseInt("  +42"), 42);
    EXPECT_EQ(ParseInt("abc"), 0);
    EXPECT_EQ(ParseInt("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseInt("0x100000001"), 1);  // wraps at 32 bits
    EXPECT_EQ(ParseInt("99999999999"), INT32_MAX);
    EXPECT_EQ(ParseInt("-99999999999"), INT32_MIN);
}

}  // namespace
