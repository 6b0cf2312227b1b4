#include "io/file_system.h"

#include <gtest/gtest.h>

#include "base/debug.h"
#include "io/path_map.h"
#include "support/temp_dir.h"

namespace {

using qeltest::Exists;
using qeltest::ReadFile;
using qeltest::TempDir;
using qeltest::WriteFile;

TEST(FileSystem, NormalizePathLowersAndTurnsBackslashes) {
    std::string path = "D:\\Game\\Data\\Tank.MDL";
    xIo::NormalizePath(path);
    EXPECT_EQ(path, "d:/game/data/tank.mdl");
    std::string cyr = "\xD2\xE0\xED\xEA";  // bytes above 0x7F stay as they are
    xIo::NormalizePath(cyr);
    EXPECT_EQ(cyr, "\xD2\xE0\xED\xEA");
}

TEST(FileSystem, MakeDirectoriesCreatesEveryMissingLevel) {
    TempDir dir;
    EXPECT_TRUE(xIo::MakeDirectories(""));
    EXPECT_TRUE(xIo::MakeDirectories(dir / "a/b//c/"));
    EXPECT_TRUE(Exists(dir / "a/b/c"));
    EXPECT_TRUE(xIo::MakeDirectories(dir / "a/b"));  // existing
    WriteFile(dir / "file", "x");
    EXPECT_FALSE(xIo::MakeDirectories(dir / "file/sub"));
}

TEST(FileSystem, RemovePathEmptiesFoldersRecursively) {
    TempDir dir;
    ASSERT_TRUE(xIo::MakeDirectories(dir / "t/u/v"));
    WriteFile(dir / "t/one", "1");
    WriteFile(dir / "t/u/v/two", "2");
    EXPECT_TRUE(xIo::RemovePath(dir / "t"));
    EXPECT_FALSE(Exists(dir / "t"));
    WriteFile(dir / "f", "1");
    EXPECT_TRUE(xIo::RemovePath(dir / "f"));
    EXPECT_FALSE(xIo::RemovePath(dir / "f"));
}

TEST(FileSystem, MoveFileReplacing) {
    TempDir dir;
    EXPECT_FALSE(xIo::MoveFileReplacing(dir / "none", dir / "x"));
    WriteFile(dir / "from", "new");
    WriteFile(dir / "to", "old");
    EXPECT_TRUE(xIo::MoveFileReplacing(dir / "from", dir / "to"));
    EXPECT_EQ(ReadFile(dir / "to"), "new");
    EXPECT_FALSE(Exists(dir / "from"));
    EXPECT_TRUE(xIo::FileExists(dir / "to"));
    EXPECT_TRUE(xIo::RemoveFile(dir / "to"));
    EXPECT_FALSE(xIo::FileExists(dir / "to"));
}

TEST(FileSystem, EveryOperationGoesThroughThePathMap) {
    TempDir dir;
    xIo::SetPathMapper([&](const std::string& p) -> std::optional<std::string> {
        if (p.rfind("d:/game/", 0) == 0) return dir.path() + "/" + p.substr(8);
        if (p.size() > 1 && p[1] == ':') return std::nullopt;
        return p;
    });
    EXPECT_TRUE(xIo::MakeDirectories("d:/game/units/tank"));
    EXPECT_TRUE(Exists(dir / "units/tank"));
    EXPECT_TRUE(xIo::FileExists("d:/game/units"));
    EXPECT_TRUE(xIo::RemovePath("d:/game/units"));
    EXPECT_FALSE(Exists(dir / "units"));
    std::string local;
    EXPECT_FALSE(xIo::TryLocalPath("t:/tools/a.dle", local));
    EXPECT_FALSE(xIo::FileExists("t:/tools/a.dle"));
    {
        xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
        try {
            xIo::LocalPath("t:/tools/a.dle");
            ADD_FAILURE() << "no error";
        } catch (const xDebug::eEx_Custom& e) {
            EXPECT_EQ(e.message, "Host path \"t:/tools/a.dle\" has no local folder in the path map");
        }
    }
    xIo::SetPathMapper(nullptr);
    EXPECT_EQ(xIo::LocalPath("d:/game/x"), "d:/game/x");
}

}  // namespace

namespace {

TEST(FileSystem, WithoutAPathMapBackslashesAreSeparatorsAndADriveIsAFolder) {
    qeltest::TempDir dir;
    EXPECT_EQ(xIo::LocalPath("a\\b/c"), "a/b/c");
    EXPECT_TRUE(xIo::MakeDirectories(dir / "d:\\thegame\\units"));
    EXPECT_TRUE(qeltest::Exists(dir / "d:/thegame/units"));
}

}  // namespace
