#include "io/name.h"

#include <gtest/gtest.h>

#include "support/recording_handler.h"

namespace {

using xIo::ePart;
using xIo::GetPart;

TEST(Name, PartsOfAPath) {
    struct Case {
        std::string path, directory, stem, extension, without, file;
    } cases[] = {
        {"/models/tank/tank.mdl", "/models/tank/", "tank", ".mdl", "/models/tank/tank", "tank.mdl"},
        {"file.dds", "", "file", ".dds", "file", "file.dds"},
        {"x.", "", "x", ".", "x", "x."},
        {"a/b.c/d", "a/b.c/", "d", "", "a/b.c/d", "d"},
        {"dir/", "dir/", "", "", "dir/", ""},
        {"", "", "", "", "", ""},
        {"a.b.c", "", "a.b", ".c", "a.b", "a.b.c"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetPart(c.path, ePart::Directory), c.directory) << c.path;
        EXPECT_EQ(GetPart(c.path, ePart::Stem), c.stem) << c.path;
        EXPECT_EQ(GetPart(c.path, ePart::Extension), c.extension) << c.path;
        EXPECT_EQ(GetPart(c.path, ePart::WithoutExtension), c.without) << c.path;
        EXPECT_EQ(GetPart(c.path, ePart::FileName), c.file) << c.path;
    }
}

TEST(Name, TrimRoot) {
    std::string path = "c:/game/data/a.dds";
    EXPECT_TRUE(xIo::TrimRoot("c:/game/", path));
    EXPECT_EQ(path, "data/a.dds");

    qeltest::LogCapture log;
    std::string other = "d:/other/a.dds";
    EXPECT_FALSE(xIo::TrimRoot("c:/game/", other));
    EXPECT_EQ(other, "d:/other/a.dds");
    EXPECT_EQ(log.text.substr(0, log.text.find(" (")),
              "Cannot trim root \"c:/game/\" from path \"d:/other/a.dds\"");
    EXPECT_EQ(log.text.substr(log.text.find(" (")).substr(0, 11), " (io/name, ");

    // Case matters: callers normalise first.
    EXPECT_EQ(xIo::TrimmedRoot("C:/game/", "c:/game/x"), "c:/game/x");
    EXPECT_EQ(xIo::TrimmedRoot("c:/game/", "c:/game/x"), "x");
    EXPECT_EQ(xIo::TrimmedRoot("c:/game/long", "c:/game/"), "c:/game/");
}

}  // namespace

namespace {

TEST(Name, DotSegmentsAreFoldedWithoutClimbingAboveTheRoot) {
    struct Case {
        const char* path;
        const char* folded;  // null: refused
    };
    const Case cases[] = {
        {"d:/thegame/units/tank", "d:/thegame/units/tank"},
        {"d:/thegame/./units/../props/", "d:/thegame/props/"},
        {"d:\\thegame\\units\\..\\x.mdl", "d:/thegame/x.mdl"},
        {"d:/thegame/units/.", "d:/thegame/units/"},
        {"d:/thegame/units/..", "d:/thegame/"},
        {"d:/thegame/../../../escape/", nullptr},
        {"d:/..", nullptr},
        {"/tmp/../..", nullptr},
        {"d:x/../y", "d:y"},
        {"../shared/cfg", "../shared/cfg"},
        {"a/../../b", "../b"},
        {"a/..", "."},
        {"a//b/", "a//b/"},
        {"", ""},
    };
    for (const Case& c : cases) {
        std::string path = c.path;
        EXPECT_EQ(xIo::FoldDotSegments(path), c.folded != nullptr) << c.path;
        EXPECT_EQ(path, c.folded ? c.folded : c.path) << c.path;
    }
}

}  // namespace
