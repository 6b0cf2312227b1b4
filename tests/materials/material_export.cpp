#include "material_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "export/export_plugin.h"
#include "qelinspect/bmp_command.h"
#include "qelinspect/dds_command.h"
#include "sim/plugin_loader.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace mattest {

namespace {

// The plug-in stays loaded for the whole test program: scenes made with its
// classes come and go.
const sim::PluginLibraryFile& Plugin() {
    static std::unique_ptr<sim::PluginLibraryFile> library = [] {
        std::string error;
        auto loaded = sim::PluginLibraryFile::Load(QEL_MATERIAL_PLUGIN_LIBRARY, error);
        if (!loaded) ADD_FAILURE() << error;
        return loaded;
    }();
    return *library;
}

}  // namespace

MaterialExport::MaterialExport() {
    std::filesystem::create_directories(dir_ / "bitmaps");
    std::filesystem::create_directories(dir_ / "art");
}

MaterialExport::~MaterialExport() {
    sim::PathMap::Uninstall();
    scene_.reset();
}

void MaterialExport::Load(std::string_view members) {
    sim::LoadOptions options;
    options.plugins = Plugin().Classes();
    scene_ = sim::SceneFromJson(members, options);
    scene_->Paths().Add("d:/thegame/", dir_ / "thegame");
    scene_->Paths().Add("d:/-projects-/-bitmaps-/", dir_ / "bitmaps");
    scene_->Paths().Add("d:/art/", dir_ / "art");
    scene_->Paths().Add("d:/-projects-/", dir_ / "projects");
    scene_->Paths().Install();
}

std::vector<std::string> MaterialExport::Run() {
    scene_->Record().Clear();
    std::unique_ptr<host::ReferenceTarget> object = LibClassDesc(0)->Create(*scene_, false);
    auto* exporter = dynamic_cast<::Export*>(object.get());
    exporter->SetConfigPath(dir_ / "QELEXPORT.CFG");
    exporter->DoExport("x.mdl", nullptr, scene_.get(), true, 0);
    return qeltest::Boxes(*scene_);
}

std::vector<std::string> MaterialExport::Files() const { return qeltest::FilesUnder(dir_ / "thegame"); }

void WriteTga(const std::string& path, int width, int height, uint32_t rgba, bool with_alpha) {
    std::string bytes(18, '\0');
    bytes[2] = 2;  // uncompressed true colour
    bytes[12] = char(width & 0xFF);
    bytes[13] = char(width >> 8);
    bytes[14] = char(height & 0xFF);
    bytes[15] = char(height >> 8);
    bytes[16] = char(with_alpha ? 32 : 24);
    bytes[17] = char(with_alpha ? 0x28 : 0x20);  // rows from the top
    for (int i = 0; i < width * height; ++i) {
        bytes += char((rgba >> 8) & 0xFF);   // blue
        bytes += char((rgba >> 16) & 0xFF);  // green
        bytes += char((rgba >> 24) & 0xFF);  // red
        if (with_alpha) bytes += char(rgba & 0xFF);
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    qeltest::WriteFile(path, bytes);
}

std::string InspectDds(const std::string& path) {
    std::ostringstream out, err;
    const int code = qelinspect::RunDds({path, false}, out, err);
    return code == 0 ? out.str() : "exit " + std::to_string(code) + ": " + err.str();
}

std::string InspectBmp(const std::string& path) {
    std::ostringstream out, err;
    const int code = qelinspect::RunBmp({path, false}, out, err);
    return code == 0 ? out.str() : "exit " + std::to_string(code) + ": " + err.str();
}

}  // namespace mattest
