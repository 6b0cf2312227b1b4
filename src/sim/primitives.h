#pragma once
// The meshes of the primitive objects, built as the host builds them: pivot
// rules, one smoothing group per face set, texture coordinates in channel 1.
#include "sim/mesh_data.h"

namespace sim {

/// width along x, length along y, height along z; pivot at the centre of the
/// base; segments per axis (x, y, z) at least 1. Each side has its own
/// smoothing group and material id (0..5).
MeshData BuildBox(float width, float length, float height, int x_segments, int y_segments, int z_segments);
/// Centred on the pivot; segments (at least 4) is rounded up to a multiple of
/// 4 around and half of it from pole to pole, so that vertices sit on every
/// extreme of the sphere.
MeshData BuildSphere(float radius, int segments);
/// Pivot at the centre of the base; sides (at least 4) rounded up to a
/// multiple of 4 so that vertices sit on the extremes along x and y. The side
/// and the two caps are three smoothing groups.
MeshData BuildCylinder(float radius, float height, int sides);

}  // namespace sim
