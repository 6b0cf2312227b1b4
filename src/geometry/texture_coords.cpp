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

host::Point2 CornerUvSource::At(const host::TriMesh& mesh, int face, int corner, uint32_t vertex) const {
    host::Point3 uvw;
    switch (kind_) {
        case Kind::kNone: return {};
        case Kind::kChannel:
            uvw = mesh.MapVert(channel_, static_cast<int>(mesh.GetMapFace(channel_, face).t[corner]));
            break;
        case Kind::kGenerated:
            uvw = (mesh.GetVert(static_cast<int>(vertex)) - origin_) * inverseSize_;
            break;
    }
    uvw = uvw * transform_;
    return {uvw.x, 1.0f - uvw.y};
}

}  // namespace geometry
