#include "geometry/texture_coords.h"

#include <algorithm>

namespace geometry {

namespace {

// Generated coordinates divide by the box size; a flat axis counts as this thick.
constexpr float kMinBoxSize = 0.0001f;

}  // namespace

CornerUvSource::CornerUvSource(const TextureSet& set, const host::TriMesh& mesh, const host::Box3& box) {
    if (set.texture == nullptr) return;
    transform_ = set.transform;
    int channel = -1;
    if (set.source == host::UvSource::kExplicit) channel = set.channel;
    else if (set.source == host::UvSource::kVertexColor) channel = host::kMapColor;
    if (channel >= host::kMapColor && channel <= host::kMapMaxChannel && mesh.MapSupport(channel)) {
        kind_ = Kind::kChannel;
        channel_ = channel;
        return;
    }
    kind_ = Kind::kGenerated;
    origin_ = box.IsEmpty() ? host::Point3() : box.pmin;
    host::Point3 size = box.IsEmpty() ? host::Point3() : box.Width();
    for (size_t i = 0; i < 3; ++i) inverseSize_[i] = 1.0f / std::max(size[i], kMinBoxSize);
}

void CornerUvSource::Face(const host::TriMesh& mesh, int face, const host::Face& f, host::Point2 out[3]) const {
    if (kind_ == Kind::kNone) {
        out[0] = out[1] = out[2] = host::Point2();
        return;
    }
    const host::MapFace map_face = kind_ == Kind::kChannel ? mesh.GetMapFace(channel_, face) : host::MapFace();
    for (int c = 0; c < 3; ++c) {
        host::Point3 uvw = kind_ == Kind::kChannel ? mesh.MapVert(channel_, static_cast<int>(map_face.t[c]))
                                                   : (mesh.GetVert(static_cast<int>(f.v[c])) - origin_) * inverseSize_;
        uvw = uvw * transform_;
        out[c] = {uvw.x, 1.0f - uvw.y};
    }
}

}  // namespace geometry
