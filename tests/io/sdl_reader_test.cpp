#include "io/sdl_reader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "io/repository.h"
#include "support/raised.h"
#include "support/recording_handler.h"
#include "support/temp_dir.h"

namespace {

using namespace xIo::xSdl;
namespace repo = xIo::xRepository;

// The tokens the caller gets, "type:text" separated by spaces.
std::string Tokens(eReader& reader) {
    std::string out;
    while (reader.Peek().type != kTokenEnd) {
        const eToken& token = reader.Next();
        if (!out.empty()) out += ' ';
        out += std::to_string(token.type) + ":" + token.text;
    }
    reader.Next();
    return out;
}

std::string ReadText(const std::string& text) {
    eReader reader;
    reader.OpenText("text", text);
    return Tokens(reader);
}

class SdlFiles : public ::testing::Test {
protected:
    void SetUp() override { repo::Mount("/", dir.path()); }
    void TearDown() override { repo::UnmountAll(); }
    void File(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(dir / name).parent_path());
        qeltest::WriteFile(dir / name, text);
    }
    std::string ReadFile(const std::string& name) {
        eReader reader;
        reader.Open(name);
        return Tokens(reader);
    }
    qeltest::TempDir dir;
};

TEST(SdlReader, ValueReads) {
    eReader reader;
    reader.OpenText("t", "{#tag name \"str\" 'single' 42 2.5 7 {inner 1} after}");
    EXPECT_EQ(reader.ReadBlockStart(), "{#tag");
    EXPECT_EQ(reader.ReadIdent(), "name");
    EXPECT_EQ(reader.ReadString(), "str");
    EXPECT_EQ(reader.ReadString(), "single");
    EXPECT_EQ(reader.ReadInt(), 42);
    EXPECT_EQ(reader.ReadNumber(), 2.5f);
    EXPECT_EQ(reader.ReadNumber(), 7.0f);  // an integer is a number too
    reader.ReadBlockStart();
    EXPECT_EQ(reader.Depth(), 2u);
    reader.SkipBlock();
    EXPECT_EQ(reader.Depth(), 1u);
    EXPECT_EQ(reader.ReadIdent(), "after");
    reader.ReadBlockEnd();
    EXPECT_TRUE(reader.AtEnd());
}

TEST(SdlReader, ValueReadErrors) {
    struct Case {
        const char* text;
        void (*read)(eReader&);
        const char* message;
    };
    const Case cases[] = {
        {"\"s\"", [](eReader& r) { r.ReadIdent(); }, "SDL: ident expected"},
        {"name", [](eReader& r) { r.ReadString(); }, "SDL: string expected"},
        {"1.5", [](eReader& r) { r.ReadInt(); }, "SDL: integer expected"},
        {"x", [](eReader& r) { r.ReadNumber(); }, "SDL: number expected"},
        {"x", [](eReader& r) { r.ReadBlockStart(); }, "SDL: block start expected"},
        {"{a x", [](eReader& r) { r.ReadBlockStart(); r.ReadIdent(); r.ReadBlockEnd(); }, "SDL: block terminator expected"},
        {"{a {b}", [](eReader& r) { r.ReadBlockStart(); r.SkipBlock(); }, "SDL: block terminator expected"},
        {"}", [](eReader& r) { r.Next(); }, "SDL: unexpected block end"},
        {"a + b", [](eReader& r) { r.Next(); r.Next(); }, "SDL: unexpected token"},
        {"\"open", [](eReader& r) { r.Next(); }, "SDL: invalid token"},
        {"a )", [](eReader& r) { r.Next(); r.Next(); }, "SDL: unexpected \")\""},
    };
    for (const Case& c : cases) {
        std::optional<xDebug::eEx_Custom> e = qeltest::Raised([&] {
            eReader reader;
            reader.OpenText("t", c.text);
            c.read(reader);
        });
        ASSERT_TRUE(e) << c.text;
        EXPECT_EQ(e->message, c.message) << c.text;
        EXPECT_EQ(e->source, "io/sdl_reader") << c.text;
    }
}

TEST(SdlReader, CommentsAndNumbers) {
    EXPECT_EQ(ReadText("{size 3} ; the size\n{scale 0x1F 1e3}"), "4:{ 1:size 10:3 5:} 4:{ 1:scale 10:31 9:1e3 5:}");
}

TEST(SdlReader, DefinesWithParameters) {
    qeltest::LogCapture log;
    EXPECT_EQ(ReadText("(define \"box\" {box %w (\"inner\" (v %w))}) (define \"inner\" {in %v})"
                       "(\"box\" (w 5)) (\"box\" (w \"q\\\"x\") (unused 1))"),
              "4:{ 1:box 10:5 4:{ 1:in 10:5 5:} 5:} 4:{ 1:box 2:q\"x 4:{ 1:in 2:q\"x 5:} 5:}");
    const std::string warning = "SDL: unused parameter(s) for parser \"box\" : unused(";
    EXPECT_EQ(log.text.substr(0, warning.size()), warning);
    EXPECT_NE(log.text.find("define 'box'"), std::string::npos) << log.text;
    // Positional values: %1, %2, ... ; a multi-token value is joined with spaces.
    EXPECT_EQ(ReadText("(define \"p\" %2 %1 %all) (\"p\" (args a b) (all 1 2.5 \"s\"))"), "1:b 1:a 10:1 9:2.5 2:s");
}

TEST(SdlReader, ModBlocks) {
    eReader::LoadingMods().loaded = {"desert"};
    EXPECT_EQ(ReadText("(mod \"desert\" sand (mod not \"snow\" hot)) (mod \"snow\" ice (x) ) (mod not \"desert\" wet) end"),
              "1:sand 1:hot 1:end");
    eReader::LoadingMods().loaded.clear();
    EXPECT_EQ(ReadText("(mod \"desert\" sand) (mod not \"desert\" wet)"), "1:wet");
}

TEST(SdlReader, Arithmetic) {
    EXPECT_EQ(ReadText("(define \"n\" 7) (+ \"n\" 3) (\"n\") (* \"n\" 2) (\"n\") (/ \"n\" 3) (\"n\") (- \"n\" -1) (\"n\")"),
              "10:10 10:20 10:6 10:7");
    EXPECT_EQ(ReadText("(define \"f\" 1.5) (define \"two\" 2) (* \"f\" \"two\") (\"f\") (/ \"f\" 4.0) (\"f\") (+ \"two\" 0.5) (\"two\")"),
              "10:3 9:0.75 9:2.5");
    EXPECT_EQ(ReadText("(define \"big\" 2147483647) (+ \"big\" 1) (\"big\") (define \"m\" -2147483648) (/ \"m\" -1) (\"m\")"),
              "10:-2147483648 10:-2147483648");
}

TEST(SdlReader, ControlBlockErrors) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"(\"nothing\")", "SDL: define not found"},
        {"(frobnicate)", "SDL: unknown control block"},
        {"(12)", "SDL: invalid control block"},
        {"({)", "SDL: invalid control block"},
        {"(mod maybe \"x\")", "SDL: unexpected token"},
        {"(mod 1)", "SDL: string expected"},
        {"(define name x)", "SDL: string expected"},
        {"(define \"x\" a (b)", "SDL: expected \")\""},
        {"(mod not \"none\" a b", "SDL: expected \")\""},
        {"(mod \"none\" a (b)", "SDL: expected \")\""},
        {"(define \"x\" 1) (\"x\" p 1)", "SDL: invalid parameters syntax, missed \"(\""},
        {"(define \"x\" 1) (\"x\" (p 1", "SDL: invalid parameters syntax, missed \")\""},
        {"(define \"x\" 1) (\"x\" (p (1)))", "SDL: invalid parameters syntax, missed \")\""},
        {"(define \"x\" 1) (\"x\" (\"p\" 1))", "SDL: ident expected"},
        {"(define \"x\" 1) (== \"x\" 1)", "SDL: Unsupported operation"},
        {"(define \"x\" 1) (+ \"x\" y)", "SDL: number expected"},
        {"(define \"x\" a) (+ \"x\" 1)", "SDL: number expected"},
        {"(define \"x\" 1) (/ \"x\" 0)", "SDL: division by zero"},
        {"(define \"x\" 1.5) (/ \"x\" 0.0)", "SDL: division by zero"},
        {"(+ \"x\" 1)", "SDL: define not found"},
        {"(define \"x\" 1) (+ \"x\" 1 2)", "SDL: expected \")\""},
        {"(define \"x\" 1e38) (* \"x\" 1e38)", "SDL: number out of range"},
        {"(define \"loop\" a (\"loop\")) (\"loop\")", "SDL: define 'loop' uses itself"},
        {"(define \"a\" (\"b\")) (define \"b\" (\"a\")) (\"a\")", "SDL: define 'a' uses itself"},
        {"(", "SDL: invalid control block"},
        {"(define \"x\" (\"x\" (\"x\"", "SDL: expected \")\""},
    };
    for (const Case& c : cases) {
        std::optional<xDebug::eEx_Custom> e = qeltest::Raised([&] { ReadText(c.text); });
        ASSERT_TRUE(e) << c.text;
        EXPECT_EQ(e->message, c.message) << c.text;
    }
}

TEST(SdlReader, DefinesThatMultiplyAreBounded) {
    // Each level uses the one below ten times: 10^8 expansions if unbounded.
    std::string text = "(define \"l0\" xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx)";
    for (int level = 1; level <= 8; ++level) {
        std::string below = "(\"l" + std::to_string(level - 1) + "\")";
        text += "(define \"l" + std::to_string(level) + "\"";
        for (int i = 0; i < 10; ++i) text += " " + below;
        text += ")";
    }
    text += "(\"l8\")";
    EXPECT_EQ(qeltest::RaisedMessage([&] {
                  eReader reader;
                  reader.OpenText("bomb", text);
                  while (reader.Next().type != kTokenEnd) {
                  }
              }),
              "SDL: input expands beyond 64 MiB");
}

TEST(SdlReader, DeepNestingIsAnErrorNotACrash) {
    EXPECT_EQ(qeltest::RaisedMessage([] { ReadText(std::string(100000, '{')); }), "SDL: blocks nested too deeply");
    EXPECT_EQ(qeltest::RaisedMessage([] { ReadText(std::string(100000, '(')); }), "SDL: invalid control block");
    std::string nested_defines;
    for (int i = 0; i < 100; ++i) nested_defines += "(define \"d" + std::to_string(i) + "\" (\"d" + std::to_string(i + 1) + "\"))";
    nested_defines += "(define \"d100\" x) (\"d0\")";
    EXPECT_EQ(qeltest::RaisedMessage([&] { ReadText(nested_defines); }), "SDL: includes and defines nested too deeply");
}

TEST_F(SdlFiles, IncludesThroughTheRepository) {
    File("models/tank.mdl", "{model (include \"parts/gun.sdl\" (calibre 120)) (include \"/common.sdl\")}");
    File("models/parts/gun.sdl", "{gun %calibre (include \"../../common.sdl\")}");
    File("common.sdl", "(define \"shared\" 1) common");
    EXPECT_EQ(ReadFile("/Models/Tank.mdl"), "4:{ 1:model 4:{ 1:gun 10:120 1:common 5:} 1:common 5:}");
    EXPECT_EQ(repo::ePaths::Current().Depth(), 0u);
}

TEST_F(SdlFiles, ErrorsNameTheFilesAndDefinesBeingRead) {
    File("a.sdl", "one\n(include \"b.sdl\")");
    File("b.sdl", "(define \"bad\" x\n y +)\n\n(\"bad\")");
    std::optional<xDebug::eEx_Custom> e = qeltest::Raised([&] { ReadFile("/a.sdl"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->message, "SDL: unexpected token");
    EXPECT_EQ(e->trace, "/a.sdl:\tline 2, token ')'\n/b.sdl:\tline 4, token ')'\ndefine 'bad':\tline 2, token '+'\n");
    EXPECT_TRUE(xDebug::xCheckPoint::ThreadStack().Empty());
}

TEST_F(SdlFiles, FileErrors) {
    File("self.sdl", "a (include \"self.sdl\")");
    File("ping.sdl", "(include \"pong.sdl\")");
    File("pong.sdl", "(include \"/ping.sdl\")");
    File("binary.sdl", std::string("a\0b", 3));
    File("open_mod.sdl", "(mod not \"x\" a");
    struct Case {
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"/self.sdl", "SDL: recursive include of /self.sdl"},
        {"/ping.sdl", "SDL: recursive include of /ping.sdl"},
        {"/binary.sdl", "SDL: invalid file"},
        {"/missing.sdl", "File not found - /missing.sdl"},
        {"/open_mod.sdl", "SDL: expected \")\""},
    };
    for (const Case& c : cases) EXPECT_EQ(qeltest::RaisedMessage([&] { ReadFile(c.name); }), c.message) << c.name;
    EXPECT_EQ(repo::ePaths::Current().Depth(), 0u);
}

}  // namespace
