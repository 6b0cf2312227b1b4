#pragma once
// glTF node animation (translation, rotation, scale channels) sampled once
// per frame into the local transforms of the nodes it moves.
#include <vector>

#include "import/gltf_model.h"
#include "import/scene_builder.h"

namespace import {

/// The largest number of frames an import samples; a longer animation is
/// cut there with a warning.
inline constexpr int kMaxFrames = 30 * 60 * 10;

/// Samples animation animation_index of model at every frame from 0 to its
/// last key into the transform tracks of nodes (by glTF node index; null for
/// a node outside the scene) and returns the last frame (0 without keys).
int SampleGltfAnimation(const tinygltf::Model& model, size_t animation_index, const std::vector<sim::SimNode*>& nodes,
                        SceneBuilder& builder);

/// A node's local transform in the host's z-up space, as its static
/// translation, rotation and scale (or matrix) give it.
host::Matrix3 GltfLocalTransform(const tinygltf::Node& node);

}  // namespace import
