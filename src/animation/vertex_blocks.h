#pragma once
// The vertex blocks of an animation file: the packed vertices of a
// vertex-animated bone in each frame, whole in the first frame and as runs
// of changed vertices after it.
#include <cstdint>

#include "animation/model_animation.h"
#include "geometry/mesh_vertex.h"
#include "io/stream.h"

namespace animation {

/// The vertex equality of the animation file: blend weights, the bone-index
/// word read as a float, positions, normals, texture sets and tangents
/// within 0.001; colours, groups, bone-index words and formats identical;
/// and smoothing groups identical and not 0 (a vertex of a face without
/// smoothing group never counts as unchanged).
bool SameVertex(const geometry::MeshVertex& a, const geometry::MeshVertex& b);

/// Writes the vertex block of the record of bone_index at frame of frames,
/// whose flags (with the vertices flag) were written at flags_offset of out
/// and whose sample points at vertices of bone. At the animation's first
/// frame: one run of every vertex of the mesh file with the box of every
/// vertex in every frame. After it: a run per stretch of vertices that
/// changed since the frame before, with the box of this frame's vertices
/// after each run at the last frame. The block's size is patched in place.
/// When nothing changed, no block is written and the flags are rewritten in
/// place without the vertices flag. out is left at its end.
void WriteVertexBlock(xIo::eStream& out, int32_t flags_offset, const BoneVertices& bone, const AnimationFrames& frames,
                      int32_t frame, int32_t bone_index);

}  // namespace animation
