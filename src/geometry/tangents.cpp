#include "geometry/tangents.h"

#include <cmath>

namespace geometry {

namespace {

// The unit vector perpendicular to n nearest to t; any perpendicular when
// t has no part across n.
host::Point3 Perpendicular(const host::Point3& n, const host::Point3& t) {
    host::Point3 across = t - n * host::DotProd(n, t);
    if (across.LengthSquared() > 1e-20f) return host::Normalize(across);
    // Cross with the axis the normal leans on least.
    host::Point3 axis(1, 0, 0);
    if (std::fabs(n.y) < std::fabs(n.x) && std::fabs(n.y) <= std::fabs(n.z)) axis = {0, 1, 0};
    else if (std::fabs(n.z) < std::fabs(n.x)) axis = {0, 0, 1};
    host::Point3 p = host::CrossProd(n, axis);
    return p.LengthSquared() > 0.0f ? host::Normalize(p) : host::Point3(1, 0, 0);
}

}  // namespace

CornerTangents::CornerTangents(const BoneMesh& record, const FrameGeometry& frame) : record_(record), frame_(frame) {
    const size_t face_count = record.faces.size();
    faces_.resize(face_count);
    for (size_t f = 0; f < face_count; ++f) {
        const CornerData* c = &frame.corners[3 * f];
        const host::Point3& p0 = frame.positions[c[0].position];
        const host::Point3 e1 = frame.positions[c[1].position] - p0;
        const host::Point3 e2 = frame.positions[c[2].position] - p0;
        const host::Point2 d1 = c[1].uv0 - c[0].uv0;
        const host::Point2 d2 = c[2].uv0 - c[0].uv0;
        const float r = d1.x * d2.y - d2.x * d1.y;
        if (std::fabs(r) < 1e-20f) continue;  // no texture gradient across the face
        const float area = host::CrossProd(e1, e2).Length() * 0.5f;
        faces_[f].u = host::Normalize((e1 * d2.y - e2 * d1.y) / r) * area;
        faces_[f].v = host::Normalize((e2 * d1.x - e1 * d2.x) / r) * area;
    }
    // Faces by mesh vertex, in face order.
    const size_t position_count = frame.positions.size();
    firstFace_.assign(position_count + 1, 0);
    for (size_t i = 0; i < 3 * face_count; ++i) ++firstFace_[frame.corners[i].position + 1];
    for (size_t p = 0; p < position_count; ++p) firstFace_[p + 1] += firstFace_[p];
    facesOfPosition_.resize(3 * face_count);
    std::vector<uint32_t> fill(firstFace_.begin(), firstFace_.end() - 1);
    for (size_t i = 0; i < 3 * face_count; ++i) facesOfPosition_[fill[frame.corners[i].position]++] = uint32_t(i / 3);
}

host::Point4 CornerTangents::At(size_t face, int k, const host::Point3& normal) const {
    const uint32_t position = frame_.corners[3 * face + size_t(k)].position;
    const uint32_t smoothing = record_.faces[face].smoothing;
    host::Point3 u, v;
    uint32_t previous = 0xFFFFFFFFu;
    for (uint32_t i = firstFace_[position]; i < firstFace_[position + 1]; ++i) {
        const uint32_t other = facesOfPosition_[i];
        if (other == previous) continue;  // a face meeting the vertex twice counts once
        previous = other;
        if (other != face && (record_.faces[other].smoothing & smoothing) == 0) continue;
        u += faces_[other].u;
        v += faces_[other].v;
    }
    const host::Point3 t = Perpendicular(normal, u);
    const float w = host::DotProd(host::CrossProd(normal, t), v) < 0.0f ? -1.0f : 1.0f;
    return host::Point4(t, w);
}

}  // namespace geometry
