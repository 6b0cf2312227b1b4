#pragma once
// Texture coordinates of face corners, by where a texture takes them from:
// an explicit map channel, the vertex colour channel, or generated from the
// mesh's own box for object and world mapping (and for channels the mesh
// lacks).
#include "geometry/material_traits.h"
#include "host/math_box.h"
#include "host/trimesh.h"

namespace geometry {

/// One texture set resolved against one mesh.
class CornerUvSource {
public:
    CornerUvSource() = default;
    /// box: the mesh's vertex box, the frame of generated coordinates.
    CornerUvSource(const TextureSet& set, const host::TriMesh& mesh, const host::Box3& box);

    /// The stored coordinates (u, 1 − v) of corner (0..2) of face, whose
    /// vertex is vertex; (0, 0) for a set without texture.
    host::Point2 At(const host::TriMesh& mesh, int face, int corner, uint32_t vertex) const;

private:
    enum class Kind { kNone, kChannel, kGenerated };
    Kind kind_ = Kind::kNone;
    int channel_ = 0;
    host::Matrix3 transform_;
    host::Point3 origin_;
    host::Point3 inverseSize_;
};

}  // namespace geometry
