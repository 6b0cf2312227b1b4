#pragma once
// The mesh writer: one bone's extracted geometry welded, skinned, optimised
// and written as a mesh record into the collector of its directory.
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/mesh_collector.h"
#include "geometry/mesh_settings.h"
#include "geometry/model_meshes.h"
#include "io/sdl_writer.h"
#include "scene/step_result.h"

namespace geometry {

/// Where one bone's mesh record goes.
struct MeshTarget {
    host::Node& node;                   ///< the bone node: named in messages, read for AniTex
    const std::string& name;            ///< the mesh name of the table entry
    const std::string& texturePrefix;   ///< put before every material reference
    MeshCollector& collector;
    xIo::xSdl::eWriter& modelWriter;    ///< receives the animated-texture blocks
    /// The bone's record is written only this once: its extracted faces are
    /// dropped after writing (a record with frames of vertex animation keeps
    /// the vertices built from them for the animation file).
    bool writtenOnce = true;
};

/// Reorders one group's triangle list (three indices each) for the vertex
/// cache into optimised; false when the optimiser fails.
using TriangleOptimiser = bool (*)(const std::vector<uint16_t>& triangles, std::vector<uint16_t>& optimised);

/// The triangle optimiser in list mode with a cache of 24 entries, checked.
bool OptimiseTriangles(const std::vector<uint16_t>& triangles, std::vector<uint16_t>& optimised);

/// Writes the mesh record of bone_index into target's collector under its
/// name. Done when written; Skipped when the bone has no polygon; Failed
/// when the mesh was refused (the artist was told) and nothing was added to
/// the collector. A cancel during the face loop writes the faces before it.
scene::StepResult WriteBoneMesh(const MeshSettings& settings, ModelMeshes& meshes, int32_t bone_index,
                                const MeshTarget& target, TriangleOptimiser optimise = OptimiseTriangles);

}  // namespace geometry
