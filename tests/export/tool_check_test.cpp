#include "export/tool_check.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <map>

#include "base/cp1251.h"
#include "support/temp_dir.h"

namespace {

using namespace tool_check;

struct Shown {
    std::string text, caption;
    bool isError;
};

// Runs the check over a table of file times (missing files count 0).
bool RunCheck(const std::map<std::string, uint64_t>& times, std::vector<Shown>& shown) {
    return CheckToolVersions(
        "c:/max/plugins/", "t:/tools/3dsmax/",
        [&](const std::string& path) {
            auto it = times.find(path);
            return it == times.end() ? uint64_t{0} : it->second;
        },
        [&](const Message& m) { shown.push_back({Cp1251ToUtf8(m.text), Cp1251ToUtf8(m.caption), m.isError}); });
}

TEST(ToolCheck, EqualTimesAndMissingToolsFolderAreCurrent) {
    std::vector<Shown> shown;
    EXPECT_TRUE(RunCheck({{"c:/max/plugins/QelExport2010_Tavrin.dle", 5}, {"t:/tools/3dsmax/QelExport2010_Tavrin.dle", 5}},
                    shown));
    EXPECT_TRUE(RunCheck({{"c:/max/plugins/QelExport2010_Tavrin.dle", 5}}, shown));
    EXPECT_TRUE(shown.empty());
}

TEST(ToolCheck, OutdatedExporterWarnsOutdatedMaterialBlocks) {
    std::vector<Shown> shown;
    EXPECT_FALSE(RunCheck({{"t:/tools/3dsmax/QelExport2010_Tavrin.dle", 9},
                      {"c:/max/plugins/CorvaneMtl2010_Tavrin.dlt", 1},
                      {"t:/tools/3dsmax/CorvaneMtl2010_Tavrin.dlt", 2}},
                     shown));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text,
              "Версия QelExport2010_Tavrin.dle устарела!\n Настоятельно рекомендуется обновить с t:/tools/3dsmax/");
    EXPECT_EQ(shown[0].caption, "Предупреждение");
    EXPECT_FALSE(shown[0].isError);
    EXPECT_EQ(shown[1].text,
              "Версия CorvaneMtl2010_Tavrin.dlt устарела!\nЭкспорт невозможен. Необходимо обновить с t:/tools/3dsmax/");
    EXPECT_EQ(shown[1].caption, "Ошибка");
    EXPECT_TRUE(shown[1].isError);
}

TEST(ToolCheck, TimesCompareHighHalfSignedThenLowHalfUnsigned) {
    EXPECT_TRUE(IsLater(0x0000000100000000ULL, 0x00000000FFFFFFFFULL));
    EXPECT_TRUE(IsLater(0x00000000FFFFFFFFULL, 0x0000000000000001ULL));  // low half unsigned
    EXPECT_FALSE(IsLater(0x8000000000000000ULL, 0x0000000000000000ULL));  // high half signed
    EXPECT_FALSE(IsLater(7, 7));
}

TEST(ToolCheck, FileTimesOfRealFiles) {
    qeltest::TempDir dir;
    EXPECT_EQ(LastWriteTime(dir / "missing"), 0u);
    EXPECT_EQ(LastWriteTime(dir.path()), 0u);
    qeltest::WriteFile(dir / "old", "a");
    qeltest::WriteFile(dir / "new", "b");
    utimbuf old_time{1000000000, 1000000000};
    utime((dir / "old").c_str(), &old_time);
    EXPECT_TRUE(IsLater(LastWriteTime(dir / "new"), LastWriteTime(dir / "old")));
    EXPECT_EQ(LastWriteTime(dir / "old"), (1000000000ULL + 11644473600ULL) * 10000000ULL);
}

TEST(ToolCheck, InstalledFolderIsTheFolderOfThisModule) {
    std::string folder = InstalledFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
}

}  // namespace
