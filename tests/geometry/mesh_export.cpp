#include "mesh_export.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "export/export_plugin.h"
#include "export/options_dialog.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace geotest {

MeshExport::MeshExport(std::string_view members) : scene_(sim::SceneFromJson(members)) {
    scene_->Paths().Add("d:/thegame/", dir_ / "thegame");
    scene_->Paths().Install();
}

MeshExport::~MeshExport() { sim::PathMap::Uninstall(); }

std::vector<std::string> MeshExport::Run() {
    std::unique_ptr<host::ReferenceTarget> object = LibClassDesc(0)->Create(*scene_, false);
    auto* exporter = dynamic_cast<::Export*>(object.get());
    exporter->SetConfigPath(dir_ / "QELEXPORT.CFG");
    exporter->DoExport("x.mdl", nullptr, scene_.get(), true, 0);
    return qeltest::Boxes(*scene_);
}

std::vector<std::string> MeshExport::RunAtFrame(int static_frame) {
    std::unique_ptr<host::ReferenceTarget> object = LibClassDesc(0)->Create(*scene_, false);
    auto* exporter = dynamic_cast<::Export*>(object.get());
    exporter->SetConfigPath(dir_ / "QELEXPORT.CFG");
    exporter->SetToolsFolder(dir_ / "tools/");
    exporter->SetInstalledFolder(dir_ / "installed/");
    exporter->SetDialogRunner([static_frame](options_dialog::Model& dialog) {
        dialog.SetSpinnerValue(static_frame);
        return dialog.PressExport().closeCode;
    });
    exporter->DoExport("x.mdl", nullptr, scene_.get(), false, 0);
    return qeltest::Boxes(*scene_);
}

std::vector<std::string> MeshExport::Files() const { return qeltest::FilesUnder(dir_ / "thegame"); }

std::string MeshExport::Bytes(const std::string& relative) const { return qeltest::ReadFile(dir_ / ("thegame/" + relative)); }

geometry::MeshFileContent MeshExport::Meshes(const std::string& relative) const {
    geometry::MeshFileContent content;
    if (!qeltest::Exists(dir_ / ("thegame/" + relative))) {
        ADD_FAILURE() << "no file " << relative;
        return content;
    }
    geometry::MeshReadError error;
    if (!geometry::ReadMeshFile(Bytes(relative), content, error))
        ADD_FAILURE() << relative << ": offset " << error.offset << ": " << error.reason;
    return content;
}

geometry::DecodedMesh MeshExport::Mesh(const std::string& relative) const {
    geometry::MeshFileContent content = Meshes(relative);
    if (content.meshes.size() != 1) {
        ADD_FAILURE() << relative << " holds " << content.meshes.size() << " meshes, not one";
        return {};
    }
    return content.meshes.front();
}

std::vector<std::vector<int>> HostTriangles(const geometry::DecodedMesh& mesh) {
    std::vector<std::vector<int>> triangles;
    for (size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        std::vector<int> t = {mesh.indices[i + 2], mesh.indices[i + 1], mesh.indices[i]};
        std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
        triangles.push_back(t);
    }
    std::sort(triangles.begin(), triangles.end());
    return triangles;
}

}  // namespace geotest
