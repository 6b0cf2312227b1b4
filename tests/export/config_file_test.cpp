#include "export/config_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/temp_dir.h"

namespace {

ExportOptions Sample() {
    ExportOptions o;
    o.exportMesh = 0;
    o.exportIK = 0;
    o.reserved7 = 3;
    o.ambientPercent = 75;
    o.reserved10 = 9;
    o.reserved11 = 5;
    o.gameResourcePath = "e:/game/";
    o.reverseAnimation = 1;
    o.commonTextureSourcePath = "e:/src/";
    o.currentRangeOnly = 1;
    o.commonTexturePathInGame = "tex/";
    return o;
}

std::string Int(int32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
std::string PathField(const std::string& p) { return p + std::string(kConfigPathSize - p.size(), '\0'); }

TEST(ConfigFile, VersionSixBytes) {
    std::string bytes = ConfigFileBytes(Sample());
    std::string expected = Int(6) + std::string("\x00\x01\x00\x01\x00\x00\x01\x01\x01\x01\x03\x01\x00\x01", 14) +
                           Int(75) + Int(1) + "\x09" + Int(5) + PathField("e:/game/") + "\x01" + std::string(1, '\0') +
                           PathField("e:/src/") + "\x01" + PathField("tex/");
    EXPECT_EQ(bytes.size(), 3106u);
    EXPECT_EQ(bytes, expected);
}

TEST(ConfigFile, SaveThenLoadGivesTheSameOptionsButTheStaticFrame) {
    qeltest::TempDir dir;
    ExportOptions saved = Sample();
    saved.staticFrame = 12;
    ASSERT_TRUE(SaveOptions(dir / "cfg/QELEXPORT.CFG", saved).IsDone());
    ExportOptions loaded = InitialOptions();
    ASSERT_TRUE(LoadOptions(dir / "cfg/QELEXPORT.CFG", loaded).IsDone());
    saved.staticFrame = 0;
    EXPECT_EQ(loaded, saved);
}

// A file of one version: the version-6 bytes cut after that version's fields.
std::string VersionFile(int32_t version) {
    std::string bytes = ConfigFileBytes(Sample());
    size_t sizes[] = {0, 26, 27, 1057, 2081, 2082, 3106};
    bytes.resize(sizes[version]);
    std::memcpy(bytes.data(), &version, 4);
    return bytes;
}

TEST(ConfigFile, OlderVersionsFillOnlyTheirFields) {
    ExportOptions base = InitialOptions();
    base.gameResourcePath = "x:/keep/";
    base.commonTextureSourcePath = "x:/keepsrc/";
    base.commonTexturePathInGame = "keeptex/";

    ExportOptions v1 = base;
    ASSERT_TRUE(ParseConfigFile(VersionFile(1), v1));
    EXPECT_EQ(v1.ambientPercent, 75);
    EXPECT_EQ(v1.reserved10, base.reserved10);
    EXPECT_EQ(v1.gameResourcePath, "x:/keep/");

    ExportOptions v3 = base;
    ASSERT_TRUE(ParseConfigFile(VersionFile(3), v3));
    EXPECT_EQ(v3.gameResourcePath, "e:/game/");
    EXPECT_EQ(v3.reverseAnimation, 1);
    EXPECT_EQ(v3.selectedOnly, 0);
    EXPECT_EQ(v3.commonTextureSourcePath, "x:/keepsrc/");
    EXPECT_EQ(v3.commonTexturePathInGame, "keeptex/");
    EXPECT_EQ(v3.currentRangeOnly, 0);

    ExportOptions v5 = base;
    ASSERT_TRUE(ParseConfigFile(VersionFile(5), v5));
    EXPECT_EQ(v5.commonTextureSourcePath, "e:/src/");
    EXPECT_EQ(v5.currentRangeOnly, 1);
    EXPECT_EQ(v5.commonTexturePathInGame, "keeptex/");
}

TEST(ConfigFile, NewerShortOrGarbageFilesChangeNothing) {
    ExportOptions before = InitialOptions();
    std::string v7 = ConfigFileBytes(Sample());
    int32_t seven = 7;
    std::memcpy(v7.data(), &seven, 4);
    std::string cases[] = {v7, VersionFile(6).substr(0, 3000), VersionFile(3).substr(0, 100), "", "abc",
                           Int(0) + std::string(40, '\x01'), Int(-1)};
    for (const std::string& bytes : cases) {
        ExportOptions o = before;
        EXPECT_FALSE(ParseConfigFile(bytes, o)) << bytes.size();
        EXPECT_EQ(o, before);
    }
}

TEST(ConfigFile, PathsAreNormalisedAndByteBooleansAreTrueWhenNonZero) {
    std::string bytes = ConfigFileBytes(Sample());
    std::string upper = "D:\\Game\\Data";
    std::memcpy(bytes.data() + 31, upper.data(), upper.size());
    bytes[31 + 1024] = '\x07';  // reverseAnimation
    bytes[31 + 1024 + 1 + 1 + 1024] = '\x02';  // currentRangeOnly
    ExportOptions o;
    ASSERT_TRUE(ParseConfigFile(bytes, o));
    EXPECT_EQ(o.gameResourcePath, "d:/game/data");
    EXPECT_EQ(o.reverseAnimation, 1);
    EXPECT_EQ(o.currentRangeOnly, 1);
}

TEST(ConfigFile, EveryVersionHasItsExactSize) {
    ExportOptions o;
    std::string bytes = ConfigFileBytes(o);
    EXPECT_EQ(bytes.size(), static_cast<size_t>(ConfigFileSize(kConfigVersion)));
    for (int32_t version = 1; version <= kConfigVersion; ++version) {
        std::string old = bytes.substr(0, static_cast<size_t>(ConfigFileSize(version)));
        old[0] = static_cast<char>(version);
        ExportOptions read;
        EXPECT_TRUE(ParseConfigFile(old, read)) << version;
        EXPECT_FALSE(ParseConfigFile(old + '\0', read)) << version;   // one byte more
        EXPECT_FALSE(ParseConfigFile(old.substr(0, old.size() - 1), read)) << version;
    }
    EXPECT_EQ(ConfigFileSize(0), 0);
    EXPECT_EQ(ConfigFileSize(kConfigVersion + 1), 0);
}

TEST(ConfigFile, MissingFileOrFolderIsNotLoaded) {
    qeltest::TempDir dir;
    ExportOptions o;
    EXPECT_TRUE(LoadOptions(dir / "none.cfg", o).IsSkipped());
    EXPECT_TRUE(LoadOptions(dir.path(), o).IsFailed());
    EXPECT_EQ(o, InitialOptions());
}

TEST(Options, NoPromptDefaults) {
    ExportOptions o = Sample();
    o.staticFrame = 5;
    o.rangeStart = 10;
    o.rangeEnd = 20;
    ApplyNoPromptDefaults(o);
    ExportOptions expected;
    expected.reserved2 = 0;
    expected.rangeStart = 10;
    expected.rangeEnd = 20;
    EXPECT_EQ(o, expected);
    EXPECT_EQ(InitialOptions().reserved2, 1);
}

}  // namespace
