#pragma once
// glTF meshes and materials as host meshes and standard materials.
#include <vector>

#include "import/gltf_model.h"
#include "import/scene_builder.h"
#include "import/skin_pose.h"
#include "sim/mesh_data.h"

namespace import {

/// One glTF mesh as a host mesh: its primitives' triangles in one face list
/// (strips and fans made triangles; points and lines left out with a
/// warning), y-up made z-up, texture coordinate set n as map channel n + 1
/// (v counted from the bottom), COLOR_0 as the vertex colour and alpha
/// channels, normals as explicit normals, one face material id per distinct
/// primitive material.
struct GltfMesh {
    sim::MeshData data;
    host::Material* material = nullptr;  ///< one material, a multi-material, or null
    /// Per vertex: (joint position in the skin, weight) from JOINTS_n/WEIGHTS_n.
    sim::SimSkin::Weights joints;
    bool hasJoints = false;
};

/// Builds mesh mesh_index of model; materials come from materials (by glTF
/// material index, null entries made on demand through builder).
GltfMesh BuildGltfMesh(const tinygltf::Model& model, size_t mesh_index, SceneBuilder& builder,
                       std::vector<host::Material*>& materials);

/// The host material of glTF material index (built on first use).
host::Material* GltfMaterial(const tinygltf::Model& model, int index, SceneBuilder& builder, std::vector<host::Material*>& materials);

}  // namespace import
