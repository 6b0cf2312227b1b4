#pragma once
// The convexity check of a polyhedron volume.
#include "host/trimesh.h"

namespace volumes {

/// True when no vertex of mesh lies in front of the plane of any face: for
/// each face (p0, p1, p2) with N = unit((unit(p1 − p0)) × unit(p2 − p0)),
/// every vertex v other than the face's own three has
/// unit(v − p0) · N ≤ kConvexTolerance. Stops at the first vertex in front.
/// Degenerate faces and vertices at p0 never fail the test.
bool IsConvex(const host::TriMesh& mesh);

/// How far, as the cosine of the angle to a face's plane normal, a vertex
/// may stand in front of the face before the mesh counts as concave.
inline constexpr float kConvexTolerance = 0.01f;

}  // namespace volumes
