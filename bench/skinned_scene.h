#pragma once
// The generated scene of skinned meshes the geometry and import benchmarks
// export: one model, a chain of 60 helper bones along y, mesh_count skinned
// grids of 25,000 triangles each spanning the chain, every vertex on two or
// three bones, bands of faces in one of two textured materials.
#include <memory>
#include <vector>

#include "sim/scene.h"

namespace benchscene {

constexpr int kBones = 60;
constexpr int kColumns = 126, kRows = 101;  // 125 × 100 quads: 25,000 triangles a mesh
constexpr int kTrianglesPerMesh = 2 * (kColumns - 1) * (kRows - 1);

/// The scene built in memory.
std::unique_ptr<sim::Scene> SkinnedScene(int mesh_count);

/// The same scene as a glb file (y up, metres: the import makes it z up);
/// its materials have no texture files.
std::vector<unsigned char> SkinnedGlb(int mesh_count);

}  // namespace benchscene
