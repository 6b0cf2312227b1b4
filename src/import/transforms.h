#pragma once
// Transforms as interchange files write them (column vectors, unit
// quaternions with the right-hand rule) in the host's row-vector form.
#include "host/math_matrix.h"

namespace import {

/// A unit quaternion (x, y, z, w) turning by the right-hand rule.
struct Rotation {
    double x = 0, y = 0, z = 0, w = 1;
};

/// The host matrix of a column-vector 4×4 matrix stored column by column.
host::Matrix3 FromColumnMajor(const double m[16]);
/// The rotation matrix of q (normalised first; a zero quaternion is none).
host::Matrix3 RotationMatrix(Rotation q);
/// Scale, then rotation, then translation.
host::Matrix3 Compose(const host::Point3& translation, Rotation rotation, const host::Point3& scale);
/// The largest magnitude a number of a scene file may have.
inline constexpr double kLargestNumber = 1e30;
/// v within ±kLargestNumber; NaN becomes 0. For values computed from the
/// file's (interpolated, posed), which a scene file must still hold.
float Limited(double v);
host::Point3 Limited(const host::Point3& p);
host::Matrix3 Limited(const host::Matrix3& m);

/// Spherical interpolation from a (s = 0) to b (s = 1) along the shorter arc.
Rotation Slerp(Rotation a, Rotation b, double s);

}  // namespace import
