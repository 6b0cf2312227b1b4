#pragma once
// The mesh writer: one bone's extracted geometry welded, skinned, optimised
// and written as a mesh record into the collector of its directory.
#include <cstdint>
#include <string>

#include "geometry/mesh_collector.h"
#include "geometry/mesh_settings.h"
#include "geometry/model_meshes.h"
#include "io/sdl_writer.h"
#include "scene/step_result.h"

namespace geometry {

/// Writes the mesh record of bone_index under mesh_name into collector.
/// model_writer receives the animated-texture blocks of the bone. Done when
/// written; Skipped when the bone has no polygon; Failed when the mesh was
/// refused (the artist was told) and nothing was added to the collector.
scene::StepResult WriteBoneMesh(const MeshSettings& settings, ModelMeshes& meshes, int32_t bone_index,
                                const std::string& mesh_name, MeshCollector& collector,
                                xIo::xSdl::eWriter& model_writer);

}  // namespace geometry
