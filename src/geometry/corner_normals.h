#pragma once
// The normal of a face corner as the host mesh gives it.
#include "host/trimesh.h"

namespace geometry {

/// The normal of corner (0..2) of face in mesh space, not yet normalised or
/// transformed: the explicit normal of the normal specification when the
/// corner has one; else the render normal of its vertex (the vertex's own
/// specified normal, or for a smoothed face its only normal or the last one
/// sharing a smoothing bit with the face); else the face normal.
host::Point3 CornerNormal(host::TriMesh& mesh, const host::NormalSpec* spec, int face, int corner);

}  // namespace geometry
