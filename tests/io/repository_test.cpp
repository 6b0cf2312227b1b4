#include "io/repository.h"
#include "io/file_system.h"
#include "io/path_map.h"
#include "io/storage_zip.h"
#include "io/stream_zip.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "base/global_collector.h"
#include "io/stream_memory.h"
#include "support/pak_builder.h"
#include "support/raised.h"
#include "support/recording_handler.h"
#include "support/temp_dir.h"

namespace {

using namespace xIo;
using namespace xIo::xRepository;

std::string ReadResource(const std::string& name) {
    std::unique_ptr<eStream> stream = Open(name);
    std::string text(static_cast<size_t>(stream->Size()), '\0');
    stream->Read(text.data(), stream->Size());
    return text;
}

void MakeFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    qeltest::WriteFile(path, content);
}

class Repository : public ::testing::Test {
protected:
    void TearDown() override { UnmountAll(); }
    qeltest::TempDir dir;
};

TEST(ResourceName, Resolution) {
    ePaths::Current().Push("/models/tank/");
    struct Case {
        const char* name;
        const char* resolved;
    };
    const Case cases[] = {
        {"/Models/Tank.MDL", "/models/tank.mdl"},
        {"\\MODELS\\tank\\Body.mesh", "/models/tank/body.mesh"},
        {"turret.def", "/models/tank/turret.def"},
        {"Parts\\Gun.def", "/models/tank/parts/gun.def"},
        {"../a.txt", "/models/a.txt"},
        {"../../a.txt", "/a.txt"},
        {"./x/../y.txt", "/models/tank/y.txt"},
        {"/a//b/./c.txt", "/a/b/c.txt"},
        {"sub/", "/models/tank/sub/"},
    };
    for (const Case& c : cases) EXPECT_EQ(ResolveName(c.name), c.resolved) << c.name;
    ePaths::Current().Pop();
    EXPECT_EQ(ResolveName("top.txt"), "/top.txt");
}

TEST(ResourceName, Errors) {
    ePaths::Current().Push("/models/tank/");
    struct Case {
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"../../../a.txt", "../../../a.txt: Attempting to reach path outside resources"},
        {"a/../../../../b", "a/../../../../b: Attempting to reach path outside resources"},
        {"/../etc/passwd", "/../etc/passwd: Attempting to reach path outside resources"},
        {"@models", "@models: Wrong resource name syntax"},
        {"@", "@: Wrong resource name syntax"},
    };
    for (const Case& c : cases) {
        std::optional<xDebug::eEx_Custom> e = qeltest::Raised([&] { ResolveName(c.name); });
        ASSERT_TRUE(e) << c.name;
        EXPECT_EQ(e->message, c.message);
        EXPECT_EQ(e->source, "io/repository");
    }
    ePaths::Current().Pop();
}

TEST(ResourceName, UserFolderIsTheDocumentsFolder) {
    qeltest::TempDir home;
    std::string old_home = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "cfg").c_str(), 1);
    std::string lower_home = home.path();
    NormalizePath(lower_home);
    EXPECT_EQ(ResolveName("@/Saves/a.sav"), lower_home + "/documents/saves/a.sav");
    MakeFile(home / "cfg/user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    EXPECT_EQ(ResolveName("@/a"), lower_home + "/docs/a");
    SetUserFolderName("qel");
    EXPECT_EQ(ResolveName("@/a"), lower_home + "/docs/qel/a");
    SetUserFolderName("");
    setenv("HOME", old_home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
}

TEST_F(Repository, MountsDirectoriesRecursivelyWithArchives) {
    MakeFile(dir / "data/readme.txt", "top");
    MakeFile(dir / "data/Models/Tank/Tank.MDL", "tank");
    qeltest::WritePak(dir / "data/textures.pak",
                      {{"stone.dds", "stone", true}, {"Wood/oak.dds", "oak", false}});
    qeltest::WritePak(dir / "data/Models/deep.pak", {{"x.txt", "deep", true}});
    Mount("/", dir / "data");
    EXPECT_EQ(ReadResource("/readme.txt"), "top");
    EXPECT_EQ(ReadResource("/Models/Tank/Tank.mdl"), "tank");  // disk names in any case
    EXPECT_EQ(ReadResource("/textures/stone.dds"), "stone");
    EXPECT_EQ(ReadResource("\\TEXTURES\\wood\\oak.dds"), "oak");
    EXPECT_EQ(ReadResource("/models/deep/x.txt"), "deep");
    EXPECT_TRUE(Exists("/textures/stone.dds"));
    EXPECT_FALSE(Exists("/textures/none.dds"));
    std::optional<xDebug::eEx_Custom> e = qeltest::Raised([] { Open("/textures/none.dds"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->message, "File not found - /textures/none.dds");
    EXPECT_EQ(e->source, "io/repository");
    // Mounting the same directory again is passed over.
    size_t mounts = DescribeMounts().size();
    Mount("/again/", dir / "data");
    EXPECT_EQ(DescribeMounts().size(), mounts);
}

TEST_F(Repository, RelativeNamesUseThePathStack) {
    MakeFile(dir / "res/models/a.txt", "a");
    Mount("/", dir / "res");
    ePathScope scope("/models/tank/tank.mdl");
    EXPECT_EQ(ReadResource("../a.txt"), "a");
    EXPECT_EQ(qeltest::RaisedMessage([] { Open("../../../a.txt"); }),
              "../../../a.txt: Attempting to reach path outside resources");
}

TEST_F(Repository, MultiPartAddsToItsMountPoint) {
    MakeFile(dir / "a/models/tank.mdl", "tank");
    MakeFile(dir / "a/models+/jeep.mdl", "jeep");
    MakeFile(dir / "a/models+/sub/car.mdl", "car");
    qeltest::WritePak(dir / "a/models+.pak", {{"bike.mdl", "bike", true}, {"tank.mdl", "shadowed", true}});
    qeltest::LogCapture log;
    Mount("/", dir / "a");
    EXPECT_EQ(log.text, "");  // "models" comes before "models+", whatever the disk's order
    EXPECT_EQ(ReadResource("/models/tank.mdl"), "tank");
    EXPECT_EQ(ReadResource("/models/jeep.mdl"), "jeep");
    EXPECT_EQ(ReadResource("/models/sub/car.mdl"), "car");
    EXPECT_EQ(ReadResource("/models/bike.mdl"), "bike");

    MakeFile(dir / "b/parts+/wheel.mdl", "wheel");
    Mount("/b/", dir / "b");
    EXPECT_NE(log.text.find("Using multi-part before 1st resource mount - '/b/parts+/'. Content loss is possible."),
              std::string::npos)
        << log.text;
    EXPECT_EQ(ReadResource("/b/parts/wheel.mdl"), "wheel");
}

TEST_F(Repository, LaterMountsTakePrecedence) {
    MakeFile(dir / "base/a.txt", "base");
    MakeFile(dir / "base/b.txt", "only base");
    MakeFile(dir / "mod/a.txt", "mod");
    Mount("/", dir / "base");
    Mount("/", dir / "mod");
    EXPECT_EQ(ReadResource("/a.txt"), "mod");
    EXPECT_EQ(ReadResource("/b.txt"), "only base");
}

TEST_F(Repository, MountErrors) {
    qeltest::WriteFile(dir / "bad.pak", "not a zip");
    qeltest::WriteFile(dir / "plain.txt", "x");
    EXPECT_EQ(qeltest::RaisedMessage([&] { Mount("/", dir / "bad.pak"); }), dir / "bad.pak: can't open .pak");
    EXPECT_EQ(qeltest::RaisedMessage([&] { Mount("/", dir / "plain.txt"); }), dir / "plain.txt: nothing to mount");
    EXPECT_EQ(qeltest::RaisedMessage([&] { Mount("/", dir / "missing"); }), dir / "missing: nothing to mount");
}

TEST_F(Repository, LinkLoopsAreMountedOnce) {
    MakeFile(dir / "r/a/x.txt", "x");
    ASSERT_EQ(symlink((dir / "r").c_str(), (dir / "r/a/loop").c_str()), 0);
    Mount("/", dir / "r");
    EXPECT_EQ(ReadResource("/a/x.txt"), "x");
}

TEST_F(Repository, WritingCreatesDirectoriesInTheDirectoryStorage) {
    std::filesystem::create_directories(dir / "out");
    qeltest::WritePak(dir / "out/arch.pak", {{"r.txt", "r", true}});
    Mount("/", dir / "out");
    {
        std::unique_ptr<eStream> stream = Open("/new/dir/file.txt", kModeWrite | kModeTruncate);
        stream->Write("abc", 3);
    }
    EXPECT_EQ(qeltest::ReadFile(dir / "out/new/dir/file.txt"), "abc");
    // An archive entry cannot be opened for writing.
    EXPECT_EQ(qeltest::RaisedMessage([] { Open("/arch/r.txt", kModeWrite); }), "File not found - /arch/r.txt");
}

TEST_F(Repository, OpenHooksAreAskedLastAddedFirst) {
    MakeFile(dir / "d/a.txt", "disk");
    Mount("/", dir / "d");
    std::vector<std::string> asked;
    int first = AddOpenHook([&](const std::string& path, uint32_t) -> std::unique_ptr<eStream> {
        asked.push_back("first " + path);
        return path == "/hooked.txt" ? std::make_unique<eBufferStream>("from hook") : nullptr;
    });
    int second = AddOpenHook([&](const std::string& path, uint32_t) -> std::unique_ptr<eStream> {
        asked.push_back("second " + path);
        return nullptr;
    });
    EXPECT_EQ(ReadResource("Hooked.txt"), "from hook");
    EXPECT_EQ(ReadResource("/a.txt"), "disk");
    EXPECT_EQ(asked, (std::vector<std::string>{"second /hooked.txt", "first /hooked.txt", "second /a.txt", "first /a.txt"}));
    RemoveOpenHook(first);
    RemoveOpenHook(second);
    EXPECT_EQ(qeltest::RaisedMessage([] { Open("/hooked.txt"); }), "File not found - /hooked.txt");
}

TEST_F(Repository, OnDemandMountingMountsTheFilesDirectory) {
    MakeFile(dir / "loose/file.txt", "loose");
    // Resource names are lower case; the path map leads them to the
    // temporary directory, whatever its spelling.
    std::string root = dir.path();
    SetPathMapper([root](const std::string& p) { return p.compare(0, 4, "/tmp") == 0 ? root + p.substr(4) : p; });
    std::string path = "/tmp/loose/file.txt";
    EXPECT_EQ(qeltest::RaisedMessage([&] { Open(path); }), "File not found - " + path);
    SetOnDemandMounting(true);
    EXPECT_EQ(ReadResource(path), "loose");
    SetOnDemandMounting(false);
    SetPathMapper(nullptr);
}

TEST_F(Repository, FileCacheKeepsListedArchiveEntries) {
    MakeFile(dir / "g/set/file_cache.set", "; cached at start\n\"/data/big.bin\" \"/data/none.bin\" \"loose.txt\"\n");
    MakeFile(dir / "g/set/loose.txt", "loose");
    qeltest::WritePak(dir / "g/data.pak", {{"big.bin", "cached content", true}, {"other.bin", "o", true}});
    Mount("/", dir / "g");
    qeltest::LogCapture log;
    eGlobalCollector::Instance().Start("app");
    EXPECT_NE(log.text.find("Can't find file for caching: /data/none.bin"), std::string::npos) << log.text;
    eLocation big, other;
    ASSERT_TRUE(Locate("/data/big.bin", kModeRead, big));
    ASSERT_TRUE(Locate("/data/other.bin", kModeRead, other));
    EXPECT_TRUE(dynamic_cast<eZipStorage&>(*big.storage).IsCached("big.bin"));
    EXPECT_FALSE(dynamic_cast<eZipStorage&>(*other.storage).IsCached("other.bin"));
    std::unique_ptr<eStream> cached = Open("/data/big.bin");
    EXPECT_EQ(dynamic_cast<eZipStream*>(cached.get()), nullptr);  // a copy in memory
    EXPECT_EQ(ReadResource("/data/big.bin"), "cached content");
    ClearFileCache();
}

TEST_F(Repository, FileCacheListWithAnythingButStrings) {
    MakeFile(dir / "g/set/file_cache.set", "\"/a\" name");
    Mount("/", dir / "g");
    qeltest::LogCapture log;
    EXPECT_EQ(qeltest::RaisedMessage([] { LoadFileCache(); }), "SDL: string expected");
}

}  // namespace
