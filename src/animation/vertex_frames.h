#pragma once
// Vertex animation, before the file: the mesh of a node evaluated at every
// frame of the animations it takes part in (through the geometry code's own
// extraction), and the vertices the mesh writer then builds of those frames
// moved into the samples.
#include <cstdint>

#include "animation/model_animation.h"
#include "geometry/mesh_settings.h"
#include "geometry/model_meshes.h"
#include "host/node.h"

namespace animation {

/// Adds node's mesh at every frame of every present animation node takes
/// part in to the record of bone_index (bone: the node whose space the
/// record is in), each frame once; node's static frame must have joined the
/// record. A frame evaluated at frame 0, or at the static frame, is the
/// static frame's mesh and is not evaluated again. With reverse playback a
/// frame is evaluated where the sampler takes its pose. Marks the record as
/// vertex-animated when node takes part in any present animation.
void ExtractVertexFrames(const AnimationSettings& settings, const ModelAnimation& animation,
                         const geometry::MeshSettings& mesh_settings, geometry::ModelMeshes& meshes, host::Node& node,
                         host::Node& bone, int32_t bone_index);

/// After the mesh writer has written the record of bone_index: moves the
/// vertices it built for the record's frames into the animation, and gives
/// every sample of bone_index, in every present animation the record's
/// bone takes part in, whose frame has vertices, those vertices, the
/// record's vertex size and the vertices flag. A record without frame
/// vertices changes nothing.
void TakeVertexFrames(const AnimationSettings& settings, ModelAnimation& animation, int32_t bone_index,
                      geometry::BoneMesh& mesh);

}  // namespace animation
