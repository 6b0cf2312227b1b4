#include "export/directory_files.h"

#include "geometry/mesh_collector.h"
#include "materials/material_writer.h"
#include "scene/node_params.h"
#include "scene/paths.h"

namespace export_driver {

void DirectoryFiles::Write(DirectoryCollector& collector, const std::string& dir) {
    materials::WriteMaterialFile(dir, collector.materials);
    geometry::WriteMeshFile(dir, collector.meshes);
    collector.materials.Clear();
    collector.meshes.Clear();
}

void DirectoryFiles::EnterModel(host::Node& root, bool structure) {
    if (!structure) return;
    if (hadStructure_) Write(shared_, commonDir_);
    hadStructure_ = true;
    structureRoot_ = &root;
}

void DirectoryFiles::PlaceModel(host::Node& root, bool structure, const std::string& resource_dir,
                                ModelFolders& folders) {
    host::Node* anchor = scene::NearestNonGroupMember(&root, false);
    if (structure) {
        commonDir_ = scene::JoinPath(resource_dir, "common");
        texturePrefix_ = "common/";
        folders.Make(commonDir_);
    } else if (anchor != nullptr && !anchor->IsRootNode()) {
        texturePrefix_ = "../common/";
    } else {
        if (hadStructure_ && exportMesh_) Write(shared_, commonDir_);
        hadStructure_ = false;
        structureRoot_ = nullptr;
        commonDir_ = resource_dir;
        texturePrefix_.clear();
    }
}

void DirectoryFiles::FinishModel(const std::string& resource_dir) {
    // A structure's own collector holds only the meshes of its bones that
    // share nothing (its materials went to the shared collector): they
    // belong to its own directory, which its model description refers to,
    // not to the next model's.
    if (exportMesh_) Write(own_, resource_dir);
}

void DirectoryFiles::DiscardModel() {
    own_.materials.Clear();
    own_.meshes.Clear();
}

void DirectoryFiles::FinishExport() {
    if (hadStructure_ && exportMesh_) Write(shared_, commonDir_);
}

}  // namespace export_driver
