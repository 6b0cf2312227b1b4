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

    /// The stored coordinates (u, 1 − v) of the three corners of face, in
    /// the face's own corner order; (0, 0) for a set without texture.
    void Face(const host::TriMesh& mesh, int face, const host::Face& f, host::Point2 out[3]) const;

private:
    enum class Kind { kNone, kChannel, kGenerated };
    Kind kind_ = Kind::kNone;
    int channel_ = 0;
    host::Matrix3 transform_;
    host::Point3 origin_;
    host::Point3 inverseSize_;
};

}  // namespace geometry
