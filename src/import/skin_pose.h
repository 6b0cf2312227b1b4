#pragma once
// Interchange files give a skinned mesh in its bind pose with each bone's
// inverse bind matrix; the host takes the mesh as it stands at frame 0 (its
// bind pose is the scene at frame 0). This moves the mesh into that pose.
#include <vector>

#include "sim/mesh_data.h"
#include "sim/scene_node.h"

namespace import {

struct SkinBinding {
    std::vector<sim::SimNode*> bones;
    /// Per bone: mesh space at bind time into the bone's space (row vectors).
    std::vector<host::Matrix3> inverseBind;
    sim::SimSkin::Weights weights;  ///< per mesh vertex: (bone position, weight)
};

/// Moves mesh's vertices (and its normals) to where the skin puts them at
/// frame 0, in the object space node has at frame 0. A vertex without weight
/// keeps its position. Weights of a vertex are normalised to sum 1 first.
void PoseAtFrameZero(sim::MeshData& mesh, SkinBinding& skin, const sim::SimNode& node);

}  // namespace import
