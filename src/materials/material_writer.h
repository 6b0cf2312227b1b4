#pragma once
// Engine materials: the host materials of a model's submeshes classified
// into records (their textures copied or converted), and a directory's
// ".material" file.
#include <string>

#include "geometry/model_meshes.h"
#include "host/application.h"
#include "materials/material_list.h"
#include "scene/report.h"

namespace materials {

/// What the material writer reads of the export.
struct MaterialSettings {
    host::Application& app;
    scene::Reporter& report;
    std::string gameResourcePath;
    std::string commonTextureSourcePath;
    std::string commonTexturePathInGame;
};

/// Turns the materials of the model's submesh groups into records of target
/// (the shared list of a pending structure or the model's own), one per
/// group of skin partition 0, in group order; a name target holds already
/// keeps its first record. Textures go to common_dir (shared ones to the
/// game's common texture folder). Shows an error for each group whose
/// material name repeats an earlier group's of the same partition (ignoring
/// case); a cancel in the progress display stops the pass, keeping the
/// records made so far.
void WriteModelMaterials(const MaterialSettings& settings, const geometry::ModelMeshes& meshes,
                         const std::string& common_dir, MaterialList& target);

/// Writes the ".material" file into dir when the list holds records; a list
/// without records writes nothing.
void WriteMaterialFile(const std::string& dir, const MaterialList& list);

}  // namespace materials
