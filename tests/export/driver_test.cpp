// The export driver as the host runs it: the Export object from the class
// descriptor, DoExport on a simulated scene, the game path served from a
// temporary folder. Each test is one rule of a whole export.
#include <gtest/gtest.h>
#include <utime.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "base/cp1251.h"
#include "export/config_file.h"
#include "export/export_plugin.h"
#include "export/options_dialog.h"
#include "sim/test_scene.h"
#include "support/recording_handler.h"
#include "support/sim_helpers.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using options_dialog::Model;
using qeltest::Boxes;
using Strings = std::vector<std::string>;

// One export object on one simulated scene, writing under a temporary folder:
// the game path "d:/thegame/" is <dir>/thegame, the configuration file, the
// tools folder and the installed folder are inside <dir> too.
class Driver {
public:
    explicit Driver(std::string_view members) : scene_(sim::SceneFromJson(members)) {
        scene_->Paths().Add("d:/thegame/", dir_ / "thegame");
        scene_->Paths().Install();
        object_ = LibClassDesc(0)->Create(*scene_, false);
        exporter_ = dynamic_cast<::Export*>(object_.get());
        exporter_->SetConfigPath(ConfigPath());
        exporter_->SetToolsFolder(dir_ / "tools/");
        exporter_->SetInstalledFolder(dir_ / "installed/");
    }
    ~Driver() { sim::PathMap::Uninstall(); }

    /// An export without prompts: every option takes its default.
    int RunNoPrompts(uint32_t options = 0) { return exporter_->DoExport("x.mdl", nullptr, scene_.get(), true, options); }
    /// An export with the options dialog, answered by dialog.
    int RunWithDialog(std::function<int(Model&)> dialog) {
        exporter_->SetDialogRunner(std::move(dialog));
        return exporter_->DoExport("x.mdl", nullptr, scene_.get(), false, 0);
    }

    sim::Scene& scene() { return *scene_; }
    sim::Recorder& record() { return scene_->Record(); }
    ::Export& exporter() { return *exporter_; }
    const qeltest::TempDir& dir() const { return dir_; }
    std::string ConfigPath() const { return dir_ / "QELEXPORT.CFG"; }
    /// A local path inside the game resource tree.
    std::string Game(const std::string& relative) const { return dir_ / ("thegame/" + relative); }

    /// Every regular file under the temporary folder, relative and sorted.
    Strings Files() const { return qeltest::FilesUnder(dir_.path()); }
    /// The names of the models the last export wrote, in processing order.
    Strings Exported() const {
        Strings names;
        for (const auto& model : exporter_->LastSummary().models)
            if (model.exported) names.push_back(model.rootName);
        return names;
    }

private:
    qeltest::TempDir dir_;
    std::unique_ptr<sim::Scene> scene_;
    std::unique_ptr<host::ReferenceTarget> object_;
    ::Export* exporter_ = nullptr;
};

// Three one-bone models; they are processed in reverse of their order in the
// scene: A, B, C.
const char* kThreeModels = R"("nodes": [
    {"name": "C", "props": "Model=units/c\r\n"},
    {"name": "B", "props": "Model=units/b\r\n"},
    {"name": "A", "props": "Model=units/a\r\n"}])";

// What an export without prompts writes: the models' files, and no
// configuration file (the artist's stored options are kept).
const Strings kThreeModelFiles = {"thegame/units/a/a.def", "thegame/units/a/a.mdl", "thegame/units/b/b.def",
                                  "thegame/units/b/b.mdl", "thegame/units/c/c.def", "thegame/units/c/c.mdl"};

int PressExport(Model& dialog) { return dialog.PressExport().closeCode; }

TEST(ExportDriver, CommandPanelGoesToUtilitiesAndBackToModify) {
    for (const char* members : {kThreeModels, R"("nodes": [])"}) {
        Driver d(members);
        EXPECT_EQ(d.RunNoPrompts(), 1);
        EXPECT_EQ(d.record().panelModes, (std::vector<int>{6, 2})) << members;
        EXPECT_EQ(d.scene().GetCommandPanelTaskMode(), 2);
    }
}

TEST(ExportDriver, EachBoneWalkRunsInsideItsOwnHold) {
    // B fails its bone checks (two bones of one name) and is never walked.
    Driver d(R"("nodes": [
        {"name": "C", "props": "Model=units/c\r\n", "children": [{"name": "arm"}]},
        {"name": "B", "props": "Model=units/b\r\n", "children": [{"name": "Arm"}, {"name": "arm"}]},
        {"name": "A", "props": "Model=units/a\r\n"}])");
    d.RunNoPrompts();
    EXPECT_EQ(d.Exported(), (Strings{"A", "C"}));
    // The export's own hold first, then one begin/cancel pair per walked model.
    EXPECT_EQ(d.record().hold, (Strings{"begin", "begin", "cancel", "begin", "cancel"}));
    // One progress display per walked model, ended before the next starts.
    Strings progress;
    for (const sim::ProgressRecord& p : d.record().progress)
        if (p.kind == sim::ProgressRecord::kStart) progress.push_back("start " + Cp1251ToUtf8(p.title));
        else if (p.kind == sim::ProgressRecord::kEnd) progress.push_back("end");
    const std::string start = "start Трансформация мэшей, подготовка анимации...";
    EXPECT_EQ(progress, (Strings{start, "end", start, "end"}));
}

TEST(ExportDriver, RenderBeginAndEndOncePerObjectAtTheStaticFrame) {
    // crate is one object shared by two nodes; the lamp hangs under a hidden
    // node that is no model, yet the scene root reaches it.
    Driver d(R"("time": {"ticksPerFrame": 160, "start": 0, "end": 20},
        "objects": {"crate": {"type": "box", "length": 1, "width": 1, "height": 1}},
        "nodes": [
            {"name": "Yard", "props": "Model=maps/yard\r\n", "children": [
                {"name": "box1", "props": "Poly\r\n", "object": "crate"},
                {"name": "box2", "props": "Poly\r\n", "object": "crate"},
                {"name": "ball", "props": "Poly\r\n", "object": {"type": "sphere", "radius": 1}}]},
            {"name": "Off", "hidden": true, "children": [
                {"name": "lamp", "object": {"type": "light", "kind": "omni"}}]}])");
    d.RunWithDialog([](Model& dialog) {
        dialog.SetSpinnerValue(3);
        return PressExport(dialog);
    });
    ASSERT_EQ(d.Exported(), (Strings{"Yard"}));
    Strings begins, ends;
    bool end_seen = false;
    for (const sim::RenderRecord& r : d.record().render) {
        EXPECT_EQ(r.t, 3 * 160) << r.label;
        (r.begin ? begins : ends).push_back(r.label);
        if (!r.begin) end_seen = true;
        else EXPECT_FALSE(end_seen) << "RenderBegin of " << r.label << " after a RenderEnd";
    }
    std::sort(begins.begin(), begins.end());
    std::sort(ends.begin(), ends.end());
    EXPECT_EQ(std::count(begins.begin(), begins.end(), "crate"), 1);
    for (const char* label : {"ball", "crate", "lamp"})
        EXPECT_TRUE(std::binary_search(begins.begin(), begins.end(), label)) << label;
    EXPECT_EQ(begins, ends);
    EXPECT_TRUE(std::adjacent_find(begins.begin(), begins.end()) == begins.end()) << "an object began twice";
}

TEST(ExportDriver, CancelledDialogWritesAndSavesNothing) {
    Driver d(kThreeModels);
    bool shown = false;
    EXPECT_EQ(d.RunWithDialog([&](Model&) {
        shown = true;
        return 0;
    }),
              1);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(d.exporter().LastSummary().dialogCancelled);
    EXPECT_EQ(d.Files(), Strings{});
    EXPECT_FALSE(fs::exists(d.Game("")));
    EXPECT_TRUE(d.record().hold.empty());
    EXPECT_TRUE(d.record().render.empty());
    EXPECT_TRUE(Boxes(d.scene()).empty());
}

TEST(ExportDriver, WithoutMeshNoModelFilesYetEveryModelIsWalked) {
    Driver d(kThreeModels);
    d.RunWithDialog([](Model& dialog) {
        dialog.SetCheck(options_dialog::kMesh, false);
        return PressExport(dialog);
    });
    EXPECT_EQ(d.Exported(), (Strings{"A", "B", "C"}));
    EXPECT_EQ(d.Files(), Strings{"QELEXPORT.CFG"});
    EXPECT_EQ(d.record().hold, (Strings{"begin", "begin", "cancel", "begin", "cancel", "begin", "cancel"}));
}

TEST(ExportDriver, SecondExportKeepsTheEntityFileAndRewritesTheModelDescription) {
    Driver d(kThreeModels);
    d.RunNoPrompts();
    ASSERT_EQ(d.Files(), kThreeModelFiles);
    const std::string first_mdl = qeltest::ReadFile(d.Game("units/a/a.mdl"));
    qeltest::WriteFile(d.Game("units/a/a.def"), "{entity edited by hand}\r\n");
    qeltest::WriteFile(d.Game("units/a/a.mdl"), "stale");
    fs::remove(d.Game("units/b/b.def"));

    d.RunNoPrompts();
    EXPECT_EQ(qeltest::ReadFile(d.Game("units/a/a.def")), "{entity edited by hand}\r\n");
    EXPECT_EQ(qeltest::ReadFile(d.Game("units/a/a.mdl")).substr(0, 20), first_mdl.substr(0, 20));
    EXPECT_NE(qeltest::ReadFile(d.Game("units/a/a.mdl")), "stale");
    EXPECT_EQ(qeltest::ReadFile(d.Game("units/b/b.def")), "{entity\r\n}\r\n");  // a missing one is written again
    EXPECT_EQ(d.Files(), kThreeModelFiles);
}

TEST(ExportDriver, CancelGivesUpTheModelBeingWrittenAndEndsTheExport) {
    // Polls: every bone asks once, then the driver once after each model:
    // A bone 1, A end 2, B bone 3, B end 4, C bone 5, C end 6.
    struct Case {
        int pollsBeforeCancel;
        Strings exported;
        bool cancelled;
        size_t summarised;  // models in the summary: the ones started
    };
    const Case cases[] = {
        {1, {"A"}, true, 1},            // after A: B and C are never started
        {2, {"A"}, true, 2},            // inside B: B is given up, C never started
        {5, {"A", "B", "C"}, false, 3}, // after the last model there is nothing left to stop
    };
    for (const Case& c : cases) {
        Driver d(kThreeModels);
        d.scene().ProgressScript().CancelAfterPolls(c.pollsBeforeCancel);
        d.RunNoPrompts();
        const export_driver::ExportSummary& summary = d.exporter().LastSummary();
        EXPECT_EQ(d.Exported(), c.exported) << c.pollsBeforeCancel;
        EXPECT_EQ(summary.cancelled, c.cancelled) << c.pollsBeforeCancel;
        ASSERT_EQ(summary.models.size(), c.summarised) << c.pollsBeforeCancel;
        bool b_exported = c.exported.size() > 1;
        EXPECT_EQ(qeltest::Exists(d.Game("units/b/b.mdl")), b_exported) << c.pollsBeforeCancel;
        EXPECT_EQ(qeltest::Exists(d.Game("units/c/c.mdl")), c.exported.size() > 2) << c.pollsBeforeCancel;
        if (c.summarised > 1 && !b_exported) {
            // The cancelled model leaves no file, temporary file or folder.
            EXPECT_TRUE(summary.models[1].cancelled);
            EXPECT_EQ(summary.models[1].skipReason, "the export was cancelled");
            EXPECT_FALSE(qeltest::Exists(d.Game("units/b"))) << c.pollsBeforeCancel;
        }
        // The end of the export still runs.
        EXPECT_EQ(d.record().panelModes.back(), 2) << c.pollsBeforeCancel;
    }
}

TEST(ExportDriver, CancelledModelKeepsItsPreviousFiles) {
    Driver d(kThreeModels);
    fs::create_directories(d.Game("units/b"));
    qeltest::WriteFile(d.Game("units/b/b.mdl"), "previous model");
    qeltest::WriteFile(d.Game("units/b/b.def"), "previous entity");
    d.scene().ProgressScript().CancelAfterPolls(2);  // inside B
    d.RunNoPrompts();
    EXPECT_EQ(qeltest::ReadFile(d.Game("units/b/b.mdl")), "previous model");
    EXPECT_EQ(qeltest::ReadFile(d.Game("units/b/b.def")), "previous entity");
    EXPECT_EQ(qeltest::FilesUnder(d.Game("units/b")), (Strings{"b.def", "b.mdl"}));
}

TEST(ExportDriver, ConfigurationIsLoadedAtTheStartAndSavedAtTheEnd) {
    ExportOptions stored;
    stored.gameResourcePath = "d:/thegame/alt/";
    stored.exportAnimation = 0;
    stored.ambientPercent = 70;
    stored.reserved11 = 9;

    {  // with prompts the dialog starts from the stored options and its entries are saved
        Driver d(kThreeModels);
        qeltest::WriteFile(d.ConfigPath(), ConfigFileBytes(stored));
        std::string shown_path;
        bool shown_animation = true;
        d.RunWithDialog([&](Model& dialog) {
            shown_path = dialog.Text(options_dialog::kGameResourcePath);
            shown_animation = dialog.Check(options_dialog::kAnimation);
            dialog.SetCheck(options_dialog::kReverseAnimation, true);
            return PressExport(dialog);
        });
        EXPECT_EQ(shown_path, "d:/thegame/alt/");
        EXPECT_FALSE(shown_animation);
        EXPECT_TRUE(qeltest::Exists(d.Game("alt/units/a/a.mdl")));
        ExportOptions saved = stored;
        saved.reverseAnimation = 1;
        EXPECT_EQ(qeltest::ReadFile(d.ConfigPath()), ConfigFileBytes(saved));
    }
    {  // without prompts every stored option is replaced by its default, and the stored file is kept
        Driver d(kThreeModels);
        qeltest::WriteFile(d.ConfigPath(), ConfigFileBytes(stored));
        d.RunNoPrompts();
        EXPECT_TRUE(qeltest::Exists(d.Game("units/a/a.mdl")));
        EXPECT_FALSE(fs::exists(d.Game("alt")));
        EXPECT_EQ(qeltest::ReadFile(d.ConfigPath()), ConfigFileBytes(stored));
    }
}

TEST(ExportDriver, AFileThatIsNotAConfigurationIsNeverReplaced) {
    ExportOptions stored;
    std::string valid = ConfigFileBytes(stored);
    struct Case {
        const char* what;
        std::string content;  // empty: a folder stands at the configuration path
        const char* box;
    };
    const Case cases[] = {
        {"text", "artist's notes\r\n",
         "W|Предупреждение|Файл '%s' не является файлом настроек экспортера.\nНастройки в нем не сохраняются."},
        {"one byte more than its version", valid + "x",
         "W|Предупреждение|Файл '%s' не является файлом настроек экспортера.\nНастройки в нем не сохраняются."},
        {"an unknown version", std::string("\x07\0\0\0", 4) + valid.substr(4),
         "W|Предупреждение|Файл '%s' не является файлом настроек экспортера.\nНастройки в нем не сохраняются."},
        {"a folder", "",
         "W|Предупреждение|Не удалось прочитать файл настроек '%s':\nthe file cannot be opened\n"
         "Настройки из него не загружены."},
    };
    for (const Case& c : cases) {
        Driver d(kThreeModels);
        if (c.content.empty()) fs::create_directories(d.ConfigPath());
        else qeltest::WriteFile(d.ConfigPath(), c.content);
        d.RunWithDialog([](Model& dialog) { return PressExport(dialog); });
        EXPECT_TRUE(qeltest::Exists(d.Game("units/a/a.mdl"))) << c.what;
        std::string box = c.box;
        box.replace(box.find("%s"), 2, d.ConfigPath());
        EXPECT_EQ(Boxes(d.scene()), Strings{box}) << c.what;
        if (c.content.empty()) EXPECT_TRUE(fs::is_directory(d.ConfigPath())) << c.what;
        else EXPECT_EQ(qeltest::ReadFile(d.ConfigPath()), c.content) << c.what;
    }
}

TEST(ExportDriver, ModelThatCannotBeWrittenIsReportedAndTheNextIsExported) {
    struct Case {
        const char* what;
        std::function<void(Driver&)> spoil;
        const char* failedFile;  // the host path the stream could not open
        Strings leftInFolder;    // the regular files in units/a afterwards
    };
    const Case cases[] = {
        {"directory is a file",
         [](Driver& d) {
             fs::create_directories(d.Game("units"));
             qeltest::WriteFile(d.Game("units/a"), "a file where the directory belongs");
         },
         "d:/thegame/units/a/a.mdl.",  // its temporary file "a.mdl.<tag>.tmp" cannot be created
         {}},
        {"entity file cannot be opened after the model description was",
         [](Driver& d) {
             fs::create_directories(d.Game("units/a"));
             fs::create_symlink(d.Game("elsewhere"), d.Game("units/a/a.def"));  // a link is not replaced
             qeltest::WriteFile(d.Game("units/a/a.mdl"), "previous");
         },
         "d:/thegame/units/a/a.def - open error!",
         {"a.mdl"}},
    };
    for (const Case& c : cases) {
        Driver d(kThreeModels);
        c.spoil(d);
        qeltest::RecordingHandler handler;  // answers the stream's Retry/Cancel box with Cancel
        EXPECT_EQ(d.RunNoPrompts(), 1) << c.what;
        EXPECT_EQ(d.Exported(), (Strings{"B", "C"})) << c.what;
        Strings boxes = Boxes(d.scene());
        ASSERT_EQ(boxes.size(), 1u) << c.what;
        EXPECT_EQ(boxes[0].rfind("E|Ошибка|Модель 'A' не экспортирована:\n", 0), 0u) << boxes[0];
        EXPECT_NE(boxes[0].find(c.failedFile), std::string::npos) << boxes[0];
        ASSERT_EQ(handler.boxes.size(), 1u) << c.what;
        // Nothing of A under a real or a temporary name, a previous file untouched.
        if (fs::is_directory(d.Game("units/a"))) {
            EXPECT_EQ(qeltest::FilesUnder(d.Game("units/a")), c.leftInFolder) << c.what;
        }
        EXPECT_FALSE(qeltest::Exists(d.Game("units/a/a.def"))) << c.what;
        if (qeltest::Exists(d.Game("units/a/a.mdl"))) {
            EXPECT_EQ(qeltest::ReadFile(d.Game("units/a/a.mdl")), "previous") << c.what;
        }
        EXPECT_TRUE(qeltest::Exists(d.Game("units/b/b.mdl"))) << c.what;

        EXPECT_EQ(d.record().hold.size() % 2, 1u) << c.what;  // every model's hold was cancelled
    }
}

TEST(ExportDriver, ModelPathThatLeavesTheGamePathIsRefused) {
    struct Case {
        const char* value;    // the root's Model property
        const char* cleaned;  // as the message names it
    };
    const Case cases[] = {
        {"../escape", "../escape"},
        {"units/../../escape", "units/../../escape"},
        {"UNITS\\..\\..\\Escape", "units\\..\\..\\escape"},
        {"/escape", "/escape"},
        {"c:/escape", "c:/escape"},
        {"..", ".."},
        {"", ""},
        {".", "."},
        {"units/", "units/"},
    };
    for (const Case& c : cases) {
        std::string props = c.value;
        std::string escaped;
        for (char ch : props) {
            if (ch == '\\') escaped += '\\';
            escaped += ch;
        }
        Driver d(R"("nodes": [{"name": "Good", "props": "Model=units/good\r\n"},
                              {"name": "Bad", "props": "Model=)" + escaped + R"(\r\n"}])");
        d.RunNoPrompts();
        EXPECT_EQ(d.Exported(), Strings{"Good"}) << c.value;
        EXPECT_EQ(Boxes(d.scene()), Strings{std::string("E|Ошибка|Путь модели '") + c.cleaned +
                                            "' в кости 'Bad' выходит за пределы каталога ресурсов игры. Модель пропущена."})
            << c.value;
        EXPECT_EQ(d.Files(), (Strings{"thegame/units/good/good.def", "thegame/units/good/good.mdl"}))
            << c.value;
        EXPECT_FALSE(fs::exists(d.dir() / "escape")) << c.value;
    }
}

TEST(ExportDriver, TwoModelsThatWouldWriteTheSameFilesAreRefused) {
    // Models are exported in reverse order: Second first. Cleaned names make
    // different Model values meet: every byte from 0x80 becomes '_'.
    Driver d(R"("nodes": [{"name": "Танк", "props": "Model=units/Танк\r\n"},
                          {"name": "Second", "props": "Model=UNITS/Бак_\r\n"},
                          {"name": "Other", "props": "Model=units/other\r\n"}])");
    d.RunNoPrompts();
    EXPECT_EQ(d.Exported(), (Strings{"Other", "Second"}));
    EXPECT_EQ(Boxes(d.scene()), Strings{"E|Ошибка|Модель 'units/____' в кости 'Танк' записывается в те же файлы, что и "
                                        "модель в кости 'Second'. Модель пропущена."});
    EXPECT_NE(qeltest::ReadFile(d.Game("units/____/____.mdl")).find("\"second\""), std::string::npos);
}

TEST(ExportDriver, SupportPointsAreTruncatedAndHeldInsideTheIntegerRange) {
    Driver d(R"("nodes": [{"name": "R", "props": "Model=units/r\r\n", "children": [
        {"name": "near", "props": "SupportPoint\r\n", "transform": {"pos": [1.9, -1.9, 0.5]}},
        {"name": "far", "props": "SupportPoint\r\n", "transform": {"pos": [1e10, -1e10, 3e20]}}]}])");
    d.RunNoPrompts();
    std::string mdl = qeltest::ReadFile(d.Game("units/r/r.mdl"));
    EXPECT_NE(mdl.find("{point 1 -1 0}"), std::string::npos) << mdl;
    EXPECT_NE(mdl.find("{point 2147483647 -2147483648 2147483647}"), std::string::npos) << mdl;
}

TEST(ExportDriver, ToolCheckRunsWhenTheDialogStarts) {
    const char* kExporter = "QelExport2010_Tavrin.dle";
    const char* kMaterial = "CorvaneMtl2010_Tavrin.dlt";
    const std::string kWarning = "W|Предупреждение|Версия QelExport2010_Tavrin.dle устарела!\n"
                                 " Настоятельно рекомендуется обновить с t:/tools/3dsmax/";
    const std::string kError = "E|Ошибка|Версия CorvaneMtl2010_Tavrin.dlt устарела!\n"
                               "Экспорт невозможен. Необходимо обновить с t:/tools/3dsmax/";
    struct Case {
        const char* what;
        time_t exporterInTools, materialInTools;  // 0: no such file in the tools folder
        Strings boxes;
        bool exportEnabled;
    };
    const time_t installed = 1500000000;
    const Case cases[] = {
        {"same files", installed, installed, {}, true},
        {"older copies", installed - 60, installed - 60, {}, true},
        {"no tools folder", 0, 0, {}, true},
        {"newer exporter", installed + 60, installed, {kWarning}, true},
        {"newer material plug-in", installed, installed + 60, {kError}, false},
        {"both newer", installed + 1, installed + 1, {kWarning, kError}, false},
    };
    for (const Case& c : cases) {
        Driver d(kThreeModels);
        auto place = [&](const std::string& folder, const char* name, time_t when) {
            fs::create_directories(d.dir() / folder);
            std::string path = d.dir() / (folder + "/" + name);
            qeltest::WriteFile(path, name);
            utimbuf times{when, when};
            ASSERT_EQ(utime(path.c_str(), &times), 0);
        };
        place("installed", kExporter, installed);
        place("installed", kMaterial, installed);
        if (c.exporterInTools) place("tools", kExporter, c.exporterInTools);
        if (c.materialInTools) place("tools", kMaterial, c.materialInTools);

        bool enabled = !c.exportEnabled;
        d.RunWithDialog([&](Model& dialog) {
            enabled = dialog.ExportEnabled();
            // A disabled Export button leaves the artist only Cancel.
            return enabled ? PressExport(dialog) : dialog.PressCancel().closeCode;
        });
        EXPECT_EQ(enabled, c.exportEnabled) << c.what;
        EXPECT_EQ(Boxes(d.scene()), c.boxes) << c.what;
        EXPECT_EQ(qeltest::Exists(d.Game("units/a/a.mdl")), c.exportEnabled) << c.what;
    }
}

}  // namespace
