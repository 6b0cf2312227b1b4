#pragma once
// The files an export writes per directory rather than per model: the
// ".material" and ".mesh" files. Their records are gathered in two
// collectors, the one of the model's own directory and the shared one of a
// structure, whose models put their shared meshes and materials into the
// structure's "common" directory. This class owns both collectors, decides
// which one a model uses, and writes each directory's files when the
// directory is finished.
#include <string>

#include "geometry/mesh_collector.h"
#include "host/node.h"
#include "export/model_folders.h"
#include "materials/material_list.h"

namespace export_driver {

/// The records of one directory's files.
struct DirectoryCollector {
    materials::MaterialList materials;
    geometry::MeshCollector meshes;
};

class DirectoryFiles {
public:
    /// export_mesh: the option that lets the files of a directory be written
    /// when a model leaves a structure and at the end of the export.
    explicit DirectoryFiles(bool export_mesh) : exportMesh_(export_mesh) {}

    /// A model starts: a structure root first finishes the shared files of
    /// the structure before it, then opens its own.
    void EnterModel(host::Node& root, bool structure);
    /// The model's directory is known: a structure root shares
    /// "<resource_dir>/common"; a model nested in a structure keeps the
    /// structure's; any other model finishes a pending structure and shares
    /// its own directory. A folder it creates is made through folders.
    void PlaceModel(host::Node& root, bool structure, const std::string& resource_dir, ModelFolders& folders);
    /// The model is written: it writes its own directory's files (for a
    /// structure, the meshes of its bones that share nothing).
    void FinishModel(const std::string& resource_dir);
    /// A model was given up: what it put into its own collector is dropped.
    void DiscardModel();
    /// The last model is written: a pending structure writes its shared files.
    void FinishExport();

    /// A structure's shared files are not written yet.
    bool StructurePending() const { return hadStructure_; }
    /// The root of the structure being exported, or null.
    host::Node* StructureRoot() const { return structureRoot_; }
    /// Where shared materials, meshes and textures go.
    const std::string& CommonDir() const { return commonDir_; }
    /// What shared mesh and material references are prefixed with: "",
    /// "common/" or "../common/".
    const std::string& TexturePrefix() const { return texturePrefix_; }

    /// The collector of a bone's mesh: the shared one when the mesh comes
    /// from a source node, else the model's own.
    DirectoryCollector& ForMesh(bool shared_mesh) { return shared_mesh ? shared_ : own_; }
    /// The collector of the model's materials: the shared one while a
    /// structure is pending, else the model's own.
    DirectoryCollector& ForMaterials() { return hadStructure_ ? shared_ : own_; }

private:
    static void Write(DirectoryCollector& collector, const std::string& dir);

    bool exportMesh_;
    DirectoryCollector own_;
    DirectoryCollector shared_;
    bool hadStructure_ = false;
    host::Node* structureRoot_ = nullptr;
    std::string commonDir_;
    std::string texturePrefix_;
};

}  // namespace export_driver
