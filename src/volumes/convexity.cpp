#include "volumes/convexity.h"

#include <vector>

namespace volumes {

bool IsConvex(const host::TriMesh& mesh) {
    const int vertex_count = mesh.NumVerts();
    std::vector<host::Point3> points(static_cast<size_t>(vertex_count));
    for (int i = 0; i < vertex_count; ++i) points[static_cast<size_t>(i)] = mesh.GetVert(i);
    for (int f = 0; f < mesh.NumFaces(); ++f) {
        const host::Face& face = mesh.GetFace(f);
        // A face naming a vertex the mesh does not have has no plane to test.
        if (face.v[0] >= points.size() || face.v[1] >= points.size() || face.v[2] >= points.size()) continue;
        const host::Point3& p0 = points[face.v[0]];
        const host::Point3 normal = host::Normalize(
            host::CrossProd(host::Normalize(points[face.v[1]] - p0), host::Normalize(points[face.v[2]] - p0)));
        for (uint32_t v = 0; v < points.size(); ++v) {
            if (v == face.v[0] || v == face.v[1] || v == face.v[2]) continue;
            if (host::DotProd(host::Normalize(points[v] - p0), normal) > kConvexTolerance) return false;
        }
    }
    return true;
}

}  // namespace volumes
