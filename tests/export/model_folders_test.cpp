#include "export/model_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(ModelFolders, RemovesOnlyTheEmptyFoldersItCreated) {
    qeltest::TempDir dir;
    fs::create_directories(dir / "game/units");
    export_driver::ModelFolders folders;
    ASSERT_TRUE(folders.Make(dir / "game/units/tank/parts/"));
    ASSERT_TRUE(folders.Make(dir / "game/units/jeep"));
    ASSERT_TRUE(fs::is_directory(dir / "game/units/tank/parts"));
    qeltest::WriteFile(dir / "game/units/jeep/kept.txt", "written by someone else");
    folders.RemoveEmptyCreated();
    EXPECT_FALSE(fs::exists(dir / "game/units/tank"));
    EXPECT_TRUE(fs::exists(dir / "game/units/jeep/kept.txt"));
    EXPECT_TRUE(fs::is_directory(dir / "game/units"));  // it existed before
}

}  // namespace
