// qelexport: one export of a scene file through the simulated host.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/cp1251.h"
#include "base/debug.h"
#include "base/log.h"
#include "command_line.h"
#include "console.h"
#include "export/config_file.h"
#include "export/export_plugin.h"
#include "export/options_dialog.h"
#include "export_report.h"
#include "import/import_file.h"
#include "io/path_map.h"
#include "io/stream_file.h"
#include "material_plugin.h"
#include "sim/plugin_loader.h"
#include "sim/scene_loader.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitErrorShown = 1;
constexpr int kExitCannotRun = 2;

std::string UserConfigFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return std::string(xdg) + "/qelexport";
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.config/qelexport";
    return ".qelexport";
}

// Code page 1251 form of a UTF-8 argument; false after printing why not.
bool HostText(const std::string& utf8, const char* what, std::string& out) {
    if (Utf8ToCp1251(utf8, out)) return true;
    std::fprintf(stderr, "qelexport: %s \"%s\" holds characters the host's code page 1251 cannot hold\n", what,
                 utf8.c_str());
    return false;
}

// True when the configuration path (a host path) is the scene file itself:
// saving the options would replace the scene.
bool NamesTheSceneFile(const std::string& config_path, const std::string& scene_path) {
    std::string local;
    std::error_code error;
    return xIo::TryLocalPath(config_path, local) && std::filesystem::equivalent(local, scene_path, error);
}

struct DialogFields {
    std::string gamePath, textureSource, texturePathInGame;
};

// The flags act as the user's entries in the options dialog.
int FillDialog(const CommandLine& cl, const DialogFields& texts, options_dialog::Model& d, bool& refused) {
    using namespace options_dialog;
    if (!d.ExportEnabled()) {
        std::fprintf(stderr, "qelexport: the export is blocked by the plug-in version check\n");
        refused = true;
        return 0;
    }
    const std::pair<const std::optional<bool>*, int> boxes[] = {
        {&cl.mesh, kMesh},
        {&cl.animation, kAnimation},
        {&cl.ik, kIk},
        {&cl.geometry, kGeometry},
        {&cl.lightsCameras, kLightsCameras},
        {&cl.reverseAnimation, kReverseAnimation},
        {&cl.selectedOnly, kSelectedOnly},
        {&cl.currentRangeOnly, kCurrentRangeOnly},
    };
    for (const auto& [flag, id] : boxes)
        if (flag->has_value()) d.SetCheck(id, **flag);
    if (cl.gamePath) d.SetText(kGameResourcePath, texts.gamePath);
    if (cl.commonTextureSource) d.SetText(kCommonTextureSource, texts.textureSource);
    if (cl.commonTexturePathInGame) d.SetText(kCommonTexturePathInGame, texts.texturePathInGame);
    if (cl.staticFrame) {
        d.SetSpinnerValue(*cl.staticFrame);
        if (d.SpinnerValue() != *cl.staticFrame)
            std::fprintf(stderr, "qelexport: --static-frame %d lies outside the scene's frames %d..%d; using %d\n",
                         *cl.staticFrame, d.SpinnerMin(), d.SpinnerMax(), d.SpinnerValue());
    }
    Result result = d.PressExport();
    if (result.closeCode < 0) {
        std::fprintf(stderr, "qelexport: %s\n", Cp1251ToUtf8(result.errorMessage).c_str());
        refused = true;
        return 0;
    }
    return result.closeCode;
}

int Run(const CommandLine& cl) {
    auto started = std::chrono::steady_clock::now();
    if (!cl.logPath.empty()) {
        std::string reason;
        if (!xLog::OpenFileSink(cl.logPath, &reason)) {
            std::fprintf(stderr, "qelexport: cannot open the log %s: %s\n", cl.logPath.c_str(), reason.c_str());
            return kExitCannotRun;
        }
        xLog::OpenLog();
        xLog::Information("qelexport: export of " + cl.scenePath);
    }
    DialogFields texts;
    if ((cl.gamePath && !HostText(*cl.gamePath, "--game-path", texts.gamePath)) ||
        (cl.commonTextureSource && !HostText(*cl.commonTextureSource, "--common-texture-source", texts.textureSource)) ||
        (cl.commonTexturePathInGame &&
         !HostText(*cl.commonTexturePathInGame, "--common-texture-game-path", texts.texturePathInGame)))
        return kExitCannotRun;

    // The host loads its plug-ins first; the scene's plug-in materials go
    // before the library does.
    sim::LoadOptions load_options;
    const MaterialPluginLocation plugin_location = FindMaterialPlugin(cl.materialPluginPath);
    std::unique_ptr<sim::PluginLibraryFile> plugin =
        sim::PluginLibraryFile::Load(plugin_location.path, load_options.missingPluginReason);
    if (plugin) {
        load_options.plugins = plugin->Classes();
    } else if (plugin_location.asked) {
        std::fprintf(stderr, "qelexport: %s\n", load_options.missingPluginReason.c_str());
        return kExitCannotRun;
    }

    std::unique_ptr<sim::Scene> scene;
    try {
        if (import::IsInterchangeFile(cl.scenePath)) {
            import::ImportResult imported = import::ImportFile(cl.scenePath);
            for (const std::string& warning : imported.warnings)
                std::fprintf(stderr, "qelexport: %s: warning: %s\n", cl.scenePath.c_str(), warning.c_str());
            scene = std::move(imported.scene);
        } else {
            scene = sim::LoadSceneFile(cl.scenePath, load_options);
        }
    } catch (const sim::LoadError& e) {
        std::fprintf(stderr, "qelexport: %s: %s\n", cl.scenePath.c_str(), e.what());
        return kExitCannotRun;
    } catch (const import::ImportError& e) {
        std::fprintf(stderr, "qelexport: %s: %s\n", cl.scenePath.c_str(), e.what());
        return kExitCannotRun;
    }

    for (const auto& [prefix, folder] : cl.maps) {
        std::string host_prefix;
        if (!HostText(prefix, "--map prefix", host_prefix)) return kExitCannotRun;
        scene->Paths().Add(host_prefix, folder);
    }
    scene->SetPlugCfgDir(UserConfigFolder());
    std::string config_path = cl.configPath.empty() ? UserConfigFolder() + "/" + kConfigFileName : cl.configPath;

    // The game resource path this export will use, to serve it from ./out/
    // when no --map entry does.
    ExportOptions probe = InitialOptions();
    if (!cl.noPrompts) {
        LoadOptions(config_path, probe);
        if (cl.gamePath) SetPathOption(probe.gameResourcePath, texts.gamePath);
    }
    if (!probe.gameResourcePath.empty() && !scene->Paths().Serves(probe.gameResourcePath))
        scene->Paths().Add(probe.gameResourcePath, "out/");
    scene->Paths().Install();
    if (std::string local; !xIo::TryLocalPath(config_path, local)) {
        std::fprintf(stderr, "qelexport: --config %s: no folder of this machine serves that host path (add a --map)\n",
                     config_path.c_str());
        return kExitCannotRun;
    }
    if (NamesTheSceneFile(config_path, cl.scenePath)) {
        std::fprintf(stderr, "qelexport: --config names the scene file %s; the options would replace it\n",
                     cl.scenePath.c_str());
        return kExitCannotRun;
    }

    console::ProgressBar bar;
    scene->SetBoxObserver(console::PrintBox);
    scene->ProgressScript().SetObserver([&](const sim::ProgressRecord& record) {
        bar.OnRecord(record);
        if (console::Interrupted()) scene->ProgressScript().SetCancel(true);
    });
    console::InstallInterrupt();

    // The core library's messages keep their fixed texts; say what the
    // system answered, and where.
    xIo::SetFileFailureHook([](const xIo::FileFailure& failure) {
        std::fprintf(stderr, "qelexport: %s\n", failure.Describe().c_str());
    });
    std::vector<WrittenFile> files;
    xIo::SetFileWrittenHook([&](const std::string& name) {
        for (const WrittenFile& f : files)
            if (f.hostPath == name) return;
        files.push_back({name, xIo::LocalPath(name)});
    });

    std::unique_ptr<host::ReferenceTarget> object = LibClassDesc(0)->Create(*scene, false);
    auto* exporter = dynamic_cast<Export*>(object.get());
    if (exporter == nullptr) {
        std::fprintf(stderr, "qelexport: the exporter's class descriptor did not create an exporter\n");
        return kExitCannotRun;
    }
    exporter->SetConfigPath(config_path);
    if (!cl.toolsDir.empty()) exporter->SetToolsFolder(cl.toolsDir + "/");
    bool refused = false;
    exporter->SetDialogRunner([&](options_dialog::Model& d) { return FillDialog(cl, texts, d, refused); });
    if (std::vector<std::string> ignored = DialogFlagsGiven(cl); cl.noPrompts && !ignored.empty()) {
        std::string list;
        for (const std::string& flag : ignored) list += (list.empty() ? "" : " ") + flag;
        std::fprintf(stderr, "qelexport: with --no-prompts the option flags are ignored (%s); every option takes its default\n",
                     list.c_str());
    }

    exporter->DoExport(cl.scenePath, nullptr, scene.get(), cl.noPrompts, cl.exportSelected ? uint32_t{host::kExportSelected} : uint32_t{0});
    xIo::SetFileWrittenHook(nullptr);
    xIo::SetFileFailureHook(nullptr);

    double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!cl.reportPath.empty()) {
        std::string reason = WriteExportReport(cl.reportPath, scene->Record().boxes, files, exporter->LastSummary(), elapsed);
        if (!reason.empty()) {
            std::fprintf(stderr, "qelexport: cannot write the report %s: %s\n", cl.reportPath.c_str(), reason.c_str());
            return kExitCannotRun;
        }
    }
    if (!cl.logPath.empty() && !xLog::FileSinkError().empty()) {
        std::fprintf(stderr, "qelexport: cannot write the log %s: %s\n", cl.logPath.c_str(), xLog::FileSinkError().c_str());
        return kExitCannotRun;
    }
    sim::PathMap::Uninstall();
    if (refused) return kExitCannotRun;
    if (exporter->LastSummary().cancelled) std::fprintf(stderr, "qelexport: cancelled\n");
    // An interrupted run ends as the signal would have ended it.
    if (int signal_number = console::InterruptSignal()) return 128 + signal_number;
    for (const sim::MessageBoxRecord& box : scene->Record().boxes)
        if (box.icon == host::MessageBoxIcon::kError) return kExitErrorShown;
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    // A crash is reported as the plug-in inside the host would report it.
    xDebug::eCrashReport crash_report;
    CommandLine cl;
    int rc = ParseCommandLine(argc, argv, cl);
    if (rc >= 0) return rc;
    // Failures of the core library outside the export (an unmapped path, a
    // file that cannot be read) end the run with a message, not a box.
    xDebug::eExceptionMode throwing(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        return Run(cl);
    } catch (const xDebug::eEx_Custom& e) {
        std::fprintf(stderr, "qelexport: %s", e.Text().c_str());
        return kExitCannotRun;
    }
}
