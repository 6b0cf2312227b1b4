#pragma once
// Tangents of face corners for bump mapping.
#include <cstdint>
#include <vector>

#include "geometry/bone_mesh.h"
#include "host/math_point.h"

namespace geometry {

/// The tangent frame of each corner of one frame of a record.
///
/// How a tangent is computed is our own choice: per face, the direction in
/// which texture set 0's u grows across the face (and v's, for handedness),
/// from the positions and set 0 of its corners; per corner, the sum of those
/// face directions, weighted by face area, over the faces that share the
/// corner's mesh vertex and a smoothing group with the corner's face (a face
/// without smoothing group counts alone); then made perpendicular to the
/// corner normal and of unit length. w is +1 when (normal × tangent) points
/// along v's direction, −1 when the texture is mirrored.
class CornerTangents {
public:
    CornerTangents(const BoneMesh& record, const FrameGeometry& frame);

    /// The tangent of corner k (0..2) of face, whose normal is normal.
    host::Point4 At(size_t face, int k, const host::Point3& normal) const;

private:
    struct FaceFrame {
        host::Point3 u;  // area-weighted direction of growing u
        host::Point3 v;  // the same for v
    };
    const BoneMesh& record_;
    const FrameGeometry& frame_;
    std::vector<FaceFrame> faces_;
    std::vector<uint32_t> firstFace_;  // per position: start of its faces in facesOfPosition_
    std::vector<uint32_t> facesOfPosition_;
};

}  // namespace geometry
