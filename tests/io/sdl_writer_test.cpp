#include "io/sdl_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/recording_handler.h"
#include "support/temp_dir.h"

namespace {

using namespace xIo::xSdl;
using xIo::eMemoryStream;

// Writes through f into a memory stream and returns the document.
template <class F>
std::string Document(F f) {
    eMemoryStream target(256);
    eWriter w;
    EXPECT_TRUE(w.Open(&target));
    f(w);
    w.Close();
    return std::string(target.Data());
}

TEST(SdlWriter, WorkedExample) {
    std::string doc = Document([](eWriter& w) {
        w << begin << Ident{"group"} << newline << begin << Ident{"size"} << 3 << endl << begin << Ident{"scale"}
          << 2.5f << endl << endl;
    });
    EXPECT_EQ(doc, "{group\r\n\t{size 3}\r\n\t{scale 2.5}\r\n}\r\n");
}

TEST(SdlWriter, EmptyDocumentAndLeadingNewline) {
    EXPECT_EQ(Document([](eWriter&) {}), "");
    EXPECT_EQ(Document([](eWriter& w) { w << newline << Ident{"a"}; }), "a");
    EXPECT_EQ(Document([](eWriter& w) { w << newline; }), "");
}

TEST(SdlWriter, TokensAreSeparatedBySingleSpaces) {
    EXPECT_EQ(Document([](eWriter& w) { w << Ident{";Exported by:\t"} << Ident{"artist"} << newline; }),
              ";Exported by:\t artist\r\n");
    EXPECT_EQ(Document([](eWriter& w) { w << begin << Ident{"bone"} << "name" << int32_t{-4} << end; }),
              "{bone \"name\" -4}");
}

TEST(SdlWriter, StringEscapes) {
    EXPECT_EQ(Document([](eWriter& w) { w << "a\"b\\\n\t"; }), "\"a\\\"b\\\\\\n\\t\"");
    EXPECT_EQ(Document([](eWriter& w) { w << std::string("\r\x01\xD2"); }), "\"\\r\x01\xD2\"");
}

TEST(SdlWriter, HexAppliesToTheNextIntegerOnly) {
    EXPECT_EQ(Document([](eWriter& w) { w << hex << 255 << 255; }), "0xff 255");
    EXPECT_EQ(Document([](eWriter& w) { w << hex << 0 << hex << uint32_t{33023} << hex << -1; }), "0x0 0x80ff 0xffffffff");
    EXPECT_EQ(Document([](eWriter& w) { w << hex << dec << 16; }), "16");
    EXPECT_EQ(Document([](eWriter& w) { w << uint32_t{4294967295u}; }), "-1");
}

TEST(SdlWriter, FloatForms) {
    EXPECT_EQ(Document([](eWriter& w) { w << 0.00001f << 0.5f << 100.0f << 1234567.0f << -0.25f; }),
              "1e-005 0.5 100 1.23457e+006 -0.25");
}

TEST(SdlWriter, InvalidFloatIsWrittenAsZeroWithOneWarning) {
    qeltest::LogCapture log;
    EXPECT_EQ(Document([](eWriter& w) { w << std::numeric_limits<float>::quiet_NaN(); }), "0");
    EXPECT_EQ(log.text.substr(0, log.text.find(" (")), "Saving invalid floating number nan. It was truncated to 0");
    EXPECT_NE(log.text.find("(io/sdl_writer, "), std::string::npos);
    EXPECT_EQ(std::count(log.text.begin(), log.text.end(), '\n'), 1);
    log.text.clear();
    EXPECT_EQ(Document([](eWriter& w) { w << -std::numeric_limits<float>::infinity(); }), "0");
    EXPECT_EQ(log.text.substr(0, log.text.find(" (")), "Saving invalid floating number -inf. It was truncated to 0");
}

TEST(SdlWriter, EraseMarkRemovesAnEmptyBlock) {
    EXPECT_EQ(Document([](eWriter& w) {
                  w << begin << Ident{"able"} << mark << endl << begin << Ident{"next"} << endl;
              }),
              "{next}\r\n");
    EXPECT_EQ(Document([](eWriter& w) {
                  w << begin << Ident{"able"} << mark << Ident{"clear"} << endl;
              }),
              "{able clear}\r\n");
    EXPECT_EQ(Document([](eWriter& w) {
                  w << begin << Ident{"view"} << newline << begin << Ident{"flags"} << mark << endl << begin
                    << Ident{"pivot"} << 1 << endl << endl;
              }),
              "{view\r\n\t{pivot 1}\r\n}\r\n");
    // The text goes on as if the block had never been opened.
    EXPECT_EQ(Document([](eWriter& w) {
                  w << begin << Ident{"a"} << begin << Ident{"b"} << mark << end << Ident{"c"} << end;
              }),
              "{a c}");
}

TEST(SdlWriter, AdjacentBraces) {
    EXPECT_EQ(Document([](eWriter& w) { w << begin << Ident{"a"} << begin << Ident{"b"} << end << end; }), "{a {b}}");
    EXPECT_EQ(Document([](eWriter& w) { w << begin << Ident{"a"} << end << begin << Ident{"b"} << end; }), "{a}{b}");
    EXPECT_EQ(Document([](eWriter& w) { w << begin << end << Ident{"x"}; }), "{}x");
}

TEST(SdlWriter, UnbalancedBlocksAreCopiedAsWritten) {
    EXPECT_EQ(Document([](eWriter& w) { w << begin << Ident{"a"} << newline << begin << Ident{"b"}; }), "{a\r\n\t{b");
    EXPECT_EQ(Document([](eWriter& w) { w << end << Ident{"z"}; }), "}z");
}

TEST(SdlWriter, DeepIndentation) {
    std::string doc = Document([](eWriter& w) {
        for (int i = 0; i < 3; ++i) w << begin << Ident{"l"} << newline;
        for (int i = 0; i < 3; ++i) w << endl;
    });
    EXPECT_EQ(doc, "{l\r\n\t{l\r\n\t\t{l\r\n\t\t}\r\n\t}\r\n}\r\n");
}

TEST(SdlWriter, OwnFileIsCommittedOnClose) {
    qeltest::TempDir dir;
    std::string name = dir / "a.mdl";
    eWriter w;
    ASSERT_TRUE(w.Open(name));
    w << begin << Ident{"skeleton"} << endl;
    EXPECT_FALSE(qeltest::Exists(name));
    w.Close();
    EXPECT_EQ(qeltest::ReadFile(name), "{skeleton}\r\n");
    EXPECT_FALSE(w.IsOpen());
    w.Close();  // closing a closed writer does nothing
}

TEST(SdlWriter, LargeDocumentReachesTheTargetWhole) {
    std::string doc = Document([](eWriter& w) {
        for (int i = 0; i < 20000; ++i) w << begin << Ident{"point"} << i << 0.5f << endl;
    });
    EXPECT_EQ(doc.substr(0, 17), "{point 0 0.5}\r\n{p");
    EXPECT_EQ(doc.substr(doc.size() - 19), "{point 19999 0.5}\r\n");
}

}  // namespace

namespace {

TEST(SdlWriter, DiscardLeavesTheOldFile) {
    qeltest::TempDir dir;
    qeltest::WriteFile(dir / "a.mdl", "old");
    xIo::xSdl::eWriter w;
    w.Open(dir / "a.mdl");
    w << xIo::xSdl::Ident{"partial"};
    w.Discard();
    EXPECT_FALSE(w.IsOpen());
    EXPECT_EQ(qeltest::ReadFile(dir / "a.mdl"), "old");
    EXPECT_FALSE(qeltest::Exists(dir / "a.mdl.tmp"));
}

}  // namespace
