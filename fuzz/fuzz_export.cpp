// Loads arbitrary scene text and runs a whole export of it without prompts,
// the material plug-in's class available as a host would offer it. Every
// host path is served from one sandbox folder, emptied after each input, and
// any other path is refused, so no input reaches a file outside it. A load
// error is an answer; a crash, a hang, a leak or undefined behaviour is a
// finding.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/debug.h"
#include "export/export_plugin.h"
#include "io/path_map.h"
#include "material_plugin/class_desc.h"
#include "sim/scene_loader.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Sandbox() {
    static const fs::path sandbox = fs::temp_directory_path() / ("qel-fuzz-export-" + std::to_string(getpid()));
    return sandbox;
}

// A host path with a drive letter goes into the sandbox under that letter;
// nothing else is served.
std::optional<std::string> SandboxPath(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return std::nullopt;
    char drive = static_cast<char>(path[0] | 0x20);
    if (drive < 'a' || drive > 'z') return std::nullopt;
    return (Sandbox() / std::string(1, drive)).string() + "/" + path.substr(2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    sim::LoadOptions options;
    options.plugins.push_back(&corvane::TheClassDesc());
    std::unique_ptr<sim::Scene> scene;
    try {
        scene = sim::LoadSceneText(text, options);
    } catch (const sim::LoadError&) {
        return 0;
    }
    fs::create_directories(Sandbox());
    xIo::SetPathMapper(SandboxPath);
    std::unique_ptr<host::ReferenceTarget> object = LibClassDesc(0)->Create(*scene, false);
    auto* exporter = dynamic_cast<Export*>(object.get());
    exporter->SetConfigPath("c:/config/QELEXPORT.CFG");
    exporter->SetToolsFolder("t:/tools/");
    exporter->DoExport("fuzz.mdl", nullptr, scene.get(), true, 0);
    xIo::SetPathMapper(nullptr);
    std::error_code ignored;
    fs::remove_all(Sandbox(), ignored);
    return 0;
}
