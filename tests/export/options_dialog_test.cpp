#include "export/options_dialog.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"

namespace {

using namespace options_dialog;

TEST(OptionsDialog, StartShowsTheOptions) {
    ExportOptions o;
    o.exportAnimation = 0;
    o.selectedOnly = 1;
    o.rangeStart = 3;
    o.rangeEnd = 40;
    Model dialog(o);
    dialog.Start(true, 0, 100);
    EXPECT_TRUE(dialog.Check(kMesh));
    EXPECT_FALSE(dialog.Check(kAnimation));
    EXPECT_TRUE(dialog.Check(kSelectedOnly));
    EXPECT_EQ(dialog.Text(kGameResourcePath), "d:/thegame/");
    EXPECT_EQ(dialog.Text(kRangeStart), "3");
    EXPECT_EQ(dialog.Text(kRangeEnd), "40");
    EXPECT_EQ(dialog.SpinnerValue(), 0);
    EXPECT_TRUE(dialog.ExportEnabled());
    dialog.Start(false, 0, 100);
    EXPECT_FALSE(dialog.ExportEnabled());
}

TEST(OptionsDialog, ExportReadsEveryControl) {
    ExportOptions o;
    Model dialog(o);
    dialog.Start(true, 0, 50);
    dialog.SetCheck(kMesh, false);
    dialog.SetCheck(kReverseAnimation, true);
    dialog.SetText(kGameResourcePath, "D:\\Game\\Data");
    dialog.SetText(kRangeEnd, "77");
    dialog.SetSpinnerValue(12);
    Result r = dialog.PressExport();
    EXPECT_EQ(r.closeCode, 1);
    EXPECT_EQ(o.exportMesh, 0);
    EXPECT_EQ(o.reverseAnimation, 1);
    EXPECT_EQ(o.gameResourcePath, "d:/game/data");
    EXPECT_EQ(o.rangeEnd, 77);
    EXPECT_EQ(o.staticFrame, 12);
}

TEST(OptionsDialog, SpinnerStaysWithinTheSceneRange) {
    ExportOptions o;
    Model dialog(o);
    dialog.Start(true, 10, 20);
    dialog.SetSpinnerValue(50);
    EXPECT_EQ(dialog.SpinnerValue(), 20);
    dialog.SetSpinnerValue(-5);
    EXPECT_EQ(dialog.SpinnerValue(), 10);
}

TEST(OptionsDialog, EmptyPathKeepsTheDialogOpenWithItsMessage) {
    struct Case {
        int emptied;
        const char* message;
    } cases[] = {
        {kGameResourcePath, "Не задан путь к ресурсам игры!"},
        {kCommonTextureSource, "Не задан исходный путь к общим текстурам!"},
        {kCommonTexturePathInGame, "Не задан путь к общим текстурам в игре!"},
    };
    for (const Case& c : cases) {
        ExportOptions o;
        Model dialog(o);
        dialog.Start(true, 0, 10);
        dialog.SetText(kGameResourcePath, "E:/First");
        dialog.SetText(kCommonTextureSource, "E:/Second");
        dialog.SetText(kCommonTexturePathInGame, "Third/");
        dialog.SetText(c.emptied, "");
        dialog.SetCheck(kSelectedOnly, true);
        Result r = dialog.PressExport();
        EXPECT_EQ(r.closeCode, -1);
        EXPECT_EQ(Cp1251ToUtf8(r.errorMessage), c.message);
        // What was read before the empty path stays in the options; nothing after it.
        EXPECT_EQ(o.gameResourcePath, c.emptied == kGameResourcePath ? "" : "e:/first");
        EXPECT_EQ(o.commonTexturePathInGame, c.emptied == kCommonTexturePathInGame ? "" : "texture/common/");
        EXPECT_EQ(o.selectedOnly, 0);
    }
}

TEST(OptionsDialog, LongPathsAreCutAt259Characters) {
    ExportOptions o;
    Model dialog(o);
    dialog.Start(true, 0, 10);
    dialog.SetText(kGameResourcePath, std::string(400, 'a'));
    EXPECT_EQ(dialog.PressExport().closeCode, 1);
    EXPECT_EQ(o.gameResourcePath.size(), 259u);
}

TEST(OptionsDialog, CancelClosesWithZero) {
    ExportOptions o;
    Model dialog(o);
    dialog.Start(true, 0, 10);
    EXPECT_EQ(dialog.PressCancel().closeCode, 0);
}

TEST(OptionsDialog, LayoutHidesTheIkBoxAndTheRangeEdits) {
    EXPECT_STREQ(Caption(), "QEL Model Export");
    int hidden = 0;
    for (const Control& c : Layout()) {
        if (c.id == kIk || c.id == kRangeStart || c.id == kRangeEnd) {
            EXPECT_FALSE(c.shown);
        }
        if (!c.shown) ++hidden;
    }
    EXPECT_EQ(hidden, 5);  // the IK box, two range edits and their labels
}

}  // namespace
