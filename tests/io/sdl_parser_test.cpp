#include "io/sdl_parser.h"

#include <gtest/gtest.h>

#include "support/recording_handler.h"

namespace {

using namespace xIo::xSdl;

// "type:text" of every token of text, space separated.
std::string Scan(const std::string& text) {
    eParser parser("t", text);
    std::string out;
    for (const eToken* token = &parser.Next(); token->type != kTokenEnd; token = &parser.Next())
    {
        if (!out.empty()) out += ' ';
        out += std::to_string(token->type);
        out += ':';
        out += token->text;
    }
    return out;
}

TEST(SdlScanner, TokenTypes) {
    struct Case {
        const char* text;
        const char* tokens;
    };
    const Case cases[] = {
        {"name _x1 A_b", "1:name 1:_x1 1:A_b"},
        {"%p %1 %", "1:%p 1:%1 13:%"},
        {"( ) { } {#ab-1+c} {#", "7:( 8:) 4:{ 5:} 4:{#ab-1+c 5:} 4:{#"},
        {"{abc", "4:{ 1:abc"},
        {"\"a b\" 'c d'", "2:a b 3:c d"},
        {"12 -3 +4 1.5 -2.5e3 1e3 5. 1E+05", "10:12 10:-3 10:+4 9:1.5 9:-2.5e3 9:1e3 9:5. 9:1E+05"},
        {"0x1F 0xff 0xffffffff 0x0", "10:31 10:255 10:-1 10:0"},
        {"+ - += -= * *= / = == < <= > >= ! != & |", "12:+ 12:- 12:+= 12:-= 12:* 12:*= 12:/ 12:= 12:== 12:< 12:<= 12:> 12:>= 12:! 12:!= 12:& 12:|"},
        {"@ # , .", "-1:@ -1:# -1:, -1:."},
        {"a ; comment { \"\n b", "1:a 1:b"},
        {"\"unterminated\nnext", "-1:\"unterminated 1:next"},
        {"'open", "-1:'open"},
        {"12abc", "10:12 1:abc"},
    };
    for (const Case& c : cases) EXPECT_EQ(Scan(c.text), c.tokens) << c.text;
}

TEST(SdlScanner, NumberValues) {
    struct Case {
        const char* text;
        int32_t type;
        float number;
        int32_t integer;
    };
    const Case cases[] = {
        {"0x1F", kTokenInt, 31, 31},
        {"1e3", kTokenFloat, 1000, 1000},
        {"-2.75", kTokenFloat, -2.75f, -2},
        {"1e-005", kTokenFloat, 1e-5f, 0},
        {"1.23457e+006", kTokenFloat, 1234570, 1234570},
        {"4294967295", kTokenInt, -1, -1},  // integers wrap at 32 bits like hexadecimal ones
        {"-2147483648", kTokenInt, -2147483648.0f, INT32_MIN},
        {"1e20", kTokenFloat, 1e20f, INT32_MAX},  // the integer value saturates
        {"-1e20", kTokenFloat, -1e20f, INT32_MIN},
        {"1e-400", kTokenFloat, 0, 0},
    };
    for (const Case& c : cases) {
        eParser parser("t", c.text);
        const eToken& token = parser.Next();
        EXPECT_EQ(token.type, c.type) << c.text;
        EXPECT_EQ(token.number, c.number) << c.text;
        EXPECT_EQ(token.integer, c.integer) << c.text;
    }
}

TEST(SdlScanner, StringEscapes) {
    struct Case {
        const char* text;
        const char* value;
    };
    const Case cases[] = {
        {R"("a\"b")", "a\"b"},
        {R"("\\ \n \r \t")", "\\ \n \r \t"},
        {R"("\q \' end")", "\\q \\' end"},  // other pairs stay as they are
        {R"('it\'s')", "it\\'s"},
        {"\"\xD2\xE0\xED\xEA\"", "\xD2\xE0\xED\xEA"},
    };
    for (const Case& c : cases) {
        eParser parser("t", c.text);
        EXPECT_EQ(parser.Next().text, c.value) << c.text;
    }
}

TEST(SdlScanner, LinesAreCountedAndDescribed) {
    eParser parser("/a/file.sdl", "one\r\n; two\n\n  four");
    EXPECT_EQ(parser.Next().line, 1);
    const eToken& four = parser.Next();
    EXPECT_EQ(four.line, 4);
    std::string described;
    parser.Describe(described);
    EXPECT_EQ(described, "/a/file.sdl:\tline 4, token 'four'");
    eParser define("size", "", {}, eParser::eKind::Define);
    described.clear();
    define.Describe(described);
    EXPECT_EQ(described, "define 'size':\tline 1");
}

TEST(SdlScanner, ParametersAreReplacedAndUnusedOnesWarned) {
    qeltest::LogCapture log;
    eParser parser("box", "{size %w %h} %width \"%w\"", {{"w", "10"}, {"h", "\"tall\""}, {"depth", "1"}, {"x", "2"}});
    EXPECT_EQ(parser.Text(), "{size 10 \"tall\"} %width \"10\"");
    EXPECT_EQ(log.text, "SDL: unused parameter(s) for parser \"box\" : depth x(box:\tline 1\n)\n");
    log.text.clear();
    // A value that mentions a parameter is not replaced again.
    eParser once("once", "%a %b", {{"a", "%b"}, {"b", "B"}});
    EXPECT_EQ(once.Text(), "%b B");
    EXPECT_EQ(log.text, "");
}

}  // namespace
