// Whole exports of the scene files under tests/scenes, compared with the
// expected trees under tests/golden: every file byte for byte (the date line
// of a model description aside) and the messages shown, in order. A mesh
// or animation file is compared through qelinspect's text form, kept in the
// golden tree as "<name>.txt" beside where the file would be: the text shows
// every field of every record exactly, so a difference reads as one in
// meaning. A scene whose "extra" holds "dialog" options is exported as the
// artist would with those boxes ticked in the options dialog; every other
// scene without prompts.
// Texture files (".dds", and ".bmp" as conversion writes them) are compared
// through the inspector's text too; a copied texture is kept as it is.
// Scenes load with the material plug-in, as the host loads it.
// The EVLM images of a model description are compared through the
// inspector's text too, as a listing beside it ("<name>.mdl.evlm.txt").
// QEL_UPDATE_GOLDENS=1 writes the trees instead (scripts/update-goldens.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/debug.h"
#include "export/export_plugin.h"
#include "export/options_dialog.h"
#include "io/sdl_reader.h"
#include "qelinspect/anm_command.h"
#include "qelinspect/bmp_command.h"
#include "qelinspect/dds_command.h"
#include "qelinspect/evlm_command.h"
#include "qelinspect/mesh_command.h"
#include "sim/plugin_loader.h"
#include "sim/scene_loader.h"
#include "support/sim_helpers.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

const fs::path kScenes = fs::path(QEL_SOURCE_DIR) / "tests/scenes";
const fs::path kGolden = fs::path(QEL_SOURCE_DIR) / "tests/golden";

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The content with the date comment line blanked: it is the one line that
// differs from run to run.
std::string Comparable(const std::string& text) {
    std::string out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(start, end - start);
        if (line.rfind(";Date:", 0) == 0) line = ";Date:\r\n";
        out += line;
        start = end;
    }
    return out;
}

// The text form of an exported binary file (a malformed one as the
// reader's error), kept under its name + ".txt"; nullopt for a file kept as
// it is.
std::optional<std::string> BinaryText(const fs::path& file, const std::string& content) {
    std::string text;
    if (file.filename() == ".mesh") {
        if (!qelinspect::MeshText(content, text)) text = "malformed mesh file: " + text + "\n";
        return text;
    }
    if (file.extension() == ".anm") {
        if (!qelinspect::AnmText(content, {}, text)) text = "malformed animation file: " + text + "\n";
        return text;
    }
    if (file.extension() == ".dds" || file.extension() == ".bmp") {
        std::ostringstream out, err;
        const int code = file.extension() == ".dds" ? qelinspect::RunDds({file.string(), false}, out, err)
                                                    : qelinspect::RunBmp({file.string(), false}, out, err);
        // The inspector's error names the file by its temporary path: the
        // exit code says enough.
        return code == 0 ? out.str() : "malformed texture file: exit " + std::to_string(code) + "\n";
    }
    return std::nullopt;
}

std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> files;
    if (!fs::exists(root)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::string name = fs::relative(entry.path(), root).generic_string();
        std::string content = Read(entry.path());
        if (std::optional<std::string> text = BinaryText(entry.path(), content)) files[name + ".txt"] = *text;
        else files[name] = Comparable(content);
    }
    return files;
}

// The tree of an export with the inspector's listing of the polyhedra of
// each model description that has any.
std::map<std::string, std::string> ExportTree(const fs::path& root) {
    std::map<std::string, std::string> files = Tree(root);
    for (const auto& [file, content] : Tree(root)) {
        if (fs::path(file).extension() != ".mdl" || content.find("{polyhedron ") == std::string::npos) continue;
        std::ostringstream out, err;
        int code = qelinspect::RunEvlm({(root / file).string(), false}, out, err);
        files[file + ".evlm.txt"] = code == 0 ? out.str() : "exit " + std::to_string(code) + ": " + err.str();
    }
    return files;
}

// The dialog boxes a scene asks to tick: "extra": {"dialog": {"<option>": bool}}.
std::map<int, bool> DialogChecks(const fs::path& scene_file) {
    static const std::map<std::string, int> kBoxes = {
        {"reverseAnimation", options_dialog::kReverseAnimation},
        {"selectedOnly", options_dialog::kSelectedOnly},
        {"currentRangeOnly", options_dialog::kCurrentRangeOnly},
        {"exportMesh", options_dialog::kMesh},
        {"exportAnimation", options_dialog::kAnimation},
        {"exportGeometry", options_dialog::kGeometry},
    };
    std::map<int, bool> checks;
    nlohmann::json scene = nlohmann::json::parse(Read(scene_file));
    if (!scene.contains("extra") || !scene["extra"].contains("dialog")) return checks;
    for (const auto& [name, value] : scene["extra"]["dialog"].items()) {
        auto box = kBoxes.find(name);
        if (box == kBoxes.end()) ADD_FAILURE() << scene_file << ": no dialog option " << name;
        else checks[box->second] = value.get<bool>();
    }
    return checks;
}

// Exports a scene with the defaults of an export without prompts into out;
// returns the messages, one per line.
std::string Export(const fs::path& scene_file, const fs::path& out) {
    std::string error;
    // Loaded before the scene and unloaded after it: its materials go first.
    std::unique_ptr<sim::PluginLibraryFile> plugin = sim::PluginLibraryFile::Load(QEL_MATERIAL_PLUGIN_LIBRARY, error);
    if (!plugin) ADD_FAILURE() << error;
    sim::LoadOptions options;
    if (plugin) options.plugins = plugin->Classes();
    std::unique_ptr<sim::Scene> scene = sim::LoadSceneFile(scene_file.string(), options);
    scene->Paths().Add("d:/thegame/", (out / "thegame").string());
    scene->Paths().Install();
    std::unique_ptr<host::ReferenceTarget> object = LibClassDesc(0)->Create(*scene, false);
    auto* exporter = dynamic_cast<::Export*>(object.get());
    exporter->SetConfigPath((out / "config/QELEXPORT.CFG").string());
    std::map<int, bool> checks = DialogChecks(scene_file);
    if (!checks.empty()) {
        exporter->SetDialogRunner([&checks](options_dialog::Model& dialog) {
            for (const auto& [id, on] : checks) dialog.SetCheck(id, on);
            return dialog.PressExport().closeCode;
        });
    }
    exporter->DoExport(scene_file.string(), nullptr, scene.get(), checks.empty(), 0);
    sim::PathMap::Uninstall();
    std::string messages;
    for (const std::string& box : qeltest::Boxes(*scene)) messages += box + "\n";
    return messages;
}

class GoldenExport : public testing::TestWithParam<std::string> {};

TEST_P(GoldenExport, MatchesTheExpectedTree) {
    const std::string name = GetParam();
    qeltest::TempDir dir;
    fs::path out = fs::path(dir.path()) / "export";
    std::string messages = Export(kScenes / (name + ".qscene.json"), out);
    fs::path golden = kGolden / name;
    if (std::getenv("QEL_UPDATE_GOLDENS")) {
        fs::remove_all(golden);
        fs::create_directories(golden);
        // Stored with the date line blanked, so regenerating changes only what changed.
        for (const auto& [file, content] : ExportTree(out / "thegame")) {
            fs::path target = golden / "thegame" / file;
            fs::create_directories(target.parent_path());
            std::ofstream(target, std::ios::binary) << content;
        }
        std::ofstream(golden / "messages.txt", std::ios::binary) << messages;
        return;
    }
    EXPECT_EQ(messages, Read(golden / "messages.txt"));
    std::map<std::string, std::string> actual = ExportTree(out / "thegame");
    std::map<std::string, std::string> expected = Tree(golden / "thegame");
    std::vector<std::string> actual_names, expected_names;
    for (const auto& [file, _] : actual) actual_names.push_back(file);
    for (const auto& [file, _] : expected) expected_names.push_back(file);
    ASSERT_EQ(actual_names, expected_names);
    for (const auto& [file, content] : expected) EXPECT_EQ(actual[file], content) << file;
}

// Every text file the exporter writes must read back through the engine's
// SDL reader: balanced blocks, valid tokens.
TEST_P(GoldenExport, TextFilesReadBackThroughTheSdlReader) {
    qeltest::TempDir dir;
    fs::path out = fs::path(dir.path()) / "export";
    Export(kScenes / (GetParam() + ".qscene.json"), out);
    if (!fs::exists(out / "thegame")) return;
    xDebug::eExceptionMode throwing(xDebug::kModeThrow | xDebug::kModeNoLog);
    for (const auto& entry : fs::recursive_directory_iterator(out / "thegame")) {
        if (!entry.is_regular_file()) continue;
        std::string ext = entry.path().extension().string();
        if (ext != ".mdl" && ext != ".def" && ext != ".material") continue;
        try {
            xIo::xSdl::eReader reader;
            reader.OpenText(entry.path().string(), Read(entry.path()));
            size_t tokens = 0;
            while (!reader.AtEnd()) {
                reader.Next();
                ++tokens;
            }
            EXPECT_GT(tokens, 0u) << entry.path();
        } catch (const xDebug::eEx_Custom& e) {
            ADD_FAILURE() << entry.path() << ": " << e.Text();
        }
    }
}

std::vector<std::string> SceneNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kScenes)) {
        std::string file = entry.path().filename().string();
        const std::string suffix = ".qscene.json";
        if (file.size() > suffix.size() && file.compare(file.size() - suffix.size(), suffix.size(), suffix) == 0)
            names.push_back(file.substr(0, file.size() - suffix.size()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scenes, GoldenExport, testing::ValuesIn(SceneNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string n = info.param;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

}  // namespace
