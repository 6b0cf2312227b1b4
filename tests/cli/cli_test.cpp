// The qelexport command as a user runs it: a child process in a temporary
// working directory, judged by its exit code, its standard error, the files
// it wrote and its JSON report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/temp_dir.h"
#include "workspace.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

using qeltest::Outcome;
using qeltest::Workspace;

const char* kTank = R"("user": "builder", "nodes": [
    {"name": "Tank", "props": "Model=units/tank\r\n", "children": [{"name": "turret"}]}])";

// Tank is exported, the root without Model is reported and skipped.
const char* kTankAndStray = R"("user": "builder", "nodes": [
    {"name": "Tank", "props": "Model=units/tank\r\n"},
    {"name": "Камень"}])";

const char* kStrayError = "error: Ошибка: В кости 'Камень' должно быть указано 'Model' или 'XModel'!\n";

std::string Sha256Of(const std::string& path) {
    std::string command = "sha256sum '" + path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    char digest[65] = {};
    if (pipe == nullptr) return {};
    size_t n = fread(digest, 1, 64, pipe);
    pclose(pipe);
    return std::string(digest, n);
}

TEST(Qelexport, ExitCodes) {
    struct Case {
        const char* what;
        Strings args;
        int exitCode;
        const char* errHolds;  // a piece of standard error
    };
    const Case cases[] = {
        {"clean scene", {"tank.qscene.json", "--no-prompts"}, 0, ""},
        {"an error box was shown", {"stray.qscene.json", "--no-prompts"}, 1, kStrayError},
        {"unknown flag", {"tank.qscene.json", "--no-such-flag"}, 2, "--no-such-flag"},
        {"no scene argument", {}, 2, "scene"},
        {"--map without a folder", {"tank.qscene.json", "--map", "d:/thegame/"}, 2, "HOSTPREFIX=DIR"},
        {"--static-frame not a number", {"tank.qscene.json", "--static-frame", "x"}, 2, "--static-frame"},
        {"missing scene file", {"missing.qscene.json"}, 2, "missing.qscene.json"},
        {"not JSON", {"broken.qscene.json"}, 2, "broken.qscene.json"},
        {"malformed scene", {"malformed.qscene.json"}, 2, "/nodes/0/children/1/props"},
        {"empty game path", {"tank.qscene.json", "--game-path", ""}, 2, "Не задан путь к ресурсам игры!"},
    };
    for (const Case& c : cases) {
        Workspace ws;
        ws.Scene("tank.qscene.json", kTank);
        ws.Scene("stray.qscene.json", kTankAndStray);
        qeltest::WriteFile(ws / "broken.qscene.json", "{\"format\": \"qel-scene\", ");
        ws.Scene("malformed.qscene.json",
                 R"("nodes": [{"name": "A", "children": [{"name": "b"}, {"name": "c", "props": 7}]}])");
        Outcome o = ws.Run(c.args);
        EXPECT_EQ(o.exitCode, c.exitCode) << c.what << "\n" << o.err;
        EXPECT_NE(o.err.find(c.errHolds), std::string::npos) << c.what << "\n" << o.err;
        if (c.exitCode == 2) {
            EXPECT_FALSE(fs::exists(ws / "out")) << c.what;
        }
    }
}

TEST(Qelexport, GamePathIsServedFromOutUnlessMapped) {
    Workspace ws;
    ws.Scene("tank.qscene.json", kTank);
    Outcome bare = ws.Run({"tank.qscene.json"});
    EXPECT_EQ(bare.exitCode, 0) << bare.err;
    EXPECT_EQ(bare.err, "");
    // The options of an export with prompts are remembered for the next one.
    EXPECT_EQ(ws.Files(), (Strings{"out/units/tank/tank.def", "out/units/tank/tank.mdl", "tank.qscene.json",
                                   "xdg/qelexport/QELEXPORT.CFG"}));

    fs::remove_all(ws / "out");
    Outcome mapped = ws.Run({"tank.qscene.json", "--map", "D:\\TheGame\\=game/data", "--game-path", "d:\\thegame"});
    EXPECT_EQ(mapped.exitCode, 0) << mapped.err;
    EXPECT_FALSE(fs::exists(ws / "out"));
    EXPECT_TRUE(qeltest::Exists(ws / "game/data/units/tank/tank.mdl"));
    EXPECT_TRUE(qeltest::Exists(ws / "game/data/units/tank/tank.def"));
}

TEST(Qelexport, AGamePathCannotClimbOutOfItsMappedFolder) {
    for (const char* game_path : {"d:/thegame/../../../escape/", "d:/thegame/../other/", "d:/../thegame/"}) {
        Workspace ws;
        ws.Scene("tank.qscene.json", kTank);
        Outcome o = ws.Run({"tank.qscene.json", "--map", "d:/thegame/=game/data", "--game-path", game_path});
        EXPECT_EQ(o.exitCode, 1) << game_path << "\n" << o.err;
        EXPECT_NE(o.err.find("has no local folder in the path map"), std::string::npos) << o.err;
        for (const std::string& file : ws.Files())  // the scene and the configuration, nothing exported
            EXPECT_TRUE(file == "tank.qscene.json" || file.rfind("xdg/", 0) == 0) << game_path << ": " << file;
        EXPECT_FALSE(fs::exists(fs::path(ws / "..") / "escape")) << game_path;
    }
}

TEST(Qelexport, MessageBoxesGoToStandardErrorInUtf8) {
    Workspace ws;
    ws.Scene("stray.qscene.json", R"("nodes": [
        {"name": "Tank", "props": "Model=units/tank\r\n", "children": [{"name": "b", "props": "Body\r\n"}]},
        {"name": "Камень"}])");
    Outcome o = ws.Run({"stray.qscene.json", "--no-prompts"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.err, std::string(kStrayError) +
                         "warning: Предупреждение: Следует убрать из модели все Body, поскольку они более не нужны.\n");
}

TEST(Qelexport, ReportListsMessagesFilesAndModels) {
    Workspace ws;
    ws.Scene("two.qscene.json", R"("nodes": [
        {"name": "Tank", "props": "Model=units/tank\r\n"},
        {"name": "Бак", "props": "Model=../x\r\n"}])");
    Outcome o = ws.Run({"two.qscene.json", "--no-prompts", "--config", "cfg.bin", "--report", "report.json"});
    ASSERT_EQ(o.exitCode, 1) << o.err;
    nlohmann::json report = nlohmann::json::parse(qeltest::ReadFile(ws / "report.json"));

    ASSERT_EQ(report["messages"].size(), 1u) << report.dump(2);
    EXPECT_EQ(report["messages"][0],
              nlohmann::json({{"caption", "Ошибка"},
                              {"text", "Путь модели '../x' в кости 'Бак' выходит за пределы каталога ресурсов игры. "
                                       "Модель пропущена."},
                              {"icon", "error"},
                              {"owner", "host"}}));

    Strings hosts;
    for (const auto& file : report["files"]) {
        std::string local = file["local"];
        hosts.push_back(file["host"]);
        std::string on_disk = fs::path(local).is_absolute() ? local : ws / local;
        ASSERT_TRUE(qeltest::Exists(on_disk)) << local;
        EXPECT_EQ(file["bytes"], qeltest::ReadFile(on_disk).size()) << local;
        EXPECT_EQ(file["sha256"], Sha256Of(on_disk)) << local;
    }
    std::sort(hosts.begin(), hosts.end());
    // Without prompts the configuration file is not written.
    EXPECT_EQ(hosts, (Strings{"d:/thegame/units/tank/tank.def", "d:/thegame/units/tank/tank.mdl"}));

    EXPECT_EQ(report["models"]["exported"], nlohmann::json::array({"Tank"}));
    ASSERT_EQ(report["models"]["skipped"].size(), 1u);
    EXPECT_EQ(report["models"]["skipped"][0]["model"], "Бак");
    EXPECT_TRUE(report["models"]["skipped"][0]["reason"].is_string());
    EXPECT_EQ(report["cancelled"], false);
    EXPECT_TRUE(report["elapsedSeconds"].is_number());
}

// A model whose node carries a CorvaneMtl material.
const char* kShinyTank = R"("user": "builder",
    "materials": {"inner": {"type": "standard", "name": "Inner"},
                  "shiny": {"type": "CorvaneMtl", "name": "Shiny", "material": "inner", "envmap": true}},
    "nodes": [{"name": "Tank", "props": "Model=units/tank\r\n", "material": "shiny"}])";

TEST(Qelexport, MaterialPluginIsFoundOrItsAbsenceExplained) {
    using Env = std::vector<std::pair<std::string, std::string>>;
    const std::string cannot_load = "qelexport: cannot load the plug-in library ";
    const std::string not_available =
        "the material class CorvaneMtl is not available: its plug-in is not loaded (cannot load the plug-in library ";
    struct Case {
        const char* what;
        Strings args;
        Env env;
        int exitCode;
        std::string errStart;  // standard error starts with this
    } cases[] = {
        {"the library next to qelexport", {"shiny.qscene.json", "--no-prompts"}, {}, 0, ""},
        {"--material-plugin", {"shiny.qscene.json", "--no-prompts", "--material-plugin", QEL_MATERIAL_PLUGIN_LIBRARY}, {}, 0, ""},
        {"the environment variable", {"shiny.qscene.json", "--no-prompts"}, {{"QEL_MATERIAL_PLUGIN", QEL_MATERIAL_PLUGIN_LIBRARY}}, 0, ""},
        {"--material-plugin missing", {"tank.qscene.json", "--material-plugin", "gone.so"}, {}, 2, cannot_load + "gone.so: "},
        {"the option wins over the variable", {"tank.qscene.json", "--material-plugin", "gone.so"},
         {{"QEL_MATERIAL_PLUGIN", QEL_MATERIAL_PLUGIN_LIBRARY}}, 2, cannot_load + "gone.so: "},
        {"the variable names a missing file", {"tank.qscene.json"}, {{"QEL_MATERIAL_PLUGIN", "lost.so"}}, 2,
         cannot_load + "lost.so: "},
    };
    for (const Case& c : cases) {
        Workspace ws;
        ws.Scene("shiny.qscene.json", kShinyTank);
        ws.Scene("tank.qscene.json", kTank);
        Outcome o = ws.Run(c.args, c.env);
        EXPECT_EQ(o.exitCode, c.exitCode) << c.what << "\n" << o.err;
        EXPECT_EQ(o.err.substr(0, c.errStart.size()), c.errStart) << c.what;
        if (c.exitCode == 0) EXPECT_TRUE(qeltest::Exists(ws / "out/units/tank/tank.mdl")) << c.what;
        else EXPECT_FALSE(fs::exists(ws / "out")) << c.what;
    }

    // Without a library next to it, a scene that needs none still exports,
    // and one that needs it says why it cannot be loaded.
    Workspace ws;
    ws.Scene("shiny.qscene.json", kShinyTank);
    ws.Scene("tank.qscene.json", kTank);
    const std::string lonely = ws / "lonely/qelexport";
    fs::create_directories(ws / "lonely");
    fs::copy_file(QELEXPORT_BINARY, lonely);
    Outcome plain = ws.RunProgram(lonely, {"tank.qscene.json", "--no-prompts"});
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(plain.err, "");
    Outcome shiny = ws.RunProgram(lonely, {"shiny.qscene.json", "--no-prompts"});
    EXPECT_EQ(shiny.exitCode, 2);
    const std::string beside = fs::canonical(ws / "lonely").string() + "/CorvaneMtl.so: ";
    EXPECT_NE(shiny.err.find("/materials/shiny/type: " + not_available + beside), std::string::npos)
        << shiny.err;
}

TEST(Qelexport, HelpExplainsAndSucceeds) {
    Workspace ws;
    Outcome o = ws.Run({"--help"});
    EXPECT_EQ(o.exitCode, 0);
    for (const char* piece : {"--map", "--no-prompts", "--report", "--game-path", "--tools-dir", "./out/", "Exit codes",
                              "--material-plugin", "QEL_MATERIAL_PLUGIN", "CorvaneMtl.so in qelexport's own folder"})
        EXPECT_NE(o.out.find(piece), std::string::npos) << piece << "\n" << o.out;
    EXPECT_FALSE(fs::exists(ws / "out"));
}

}  // namespace
