#pragma once
// The host's rotation quaternion. Its convention is left-handed: the
// quaternion of a matrix that turns by +θ about a unit axis a (right-hand
// rule, row vectors) is (−a·sin(θ/2), cos(θ/2)), and MakeMatrix of it gives
// that matrix back.
#include "host/math_matrix.h"

namespace host {

struct Quat {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;

    /// The identity rotation.
    Quat() = default;
    Quat(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    /// The rotation of m's axis part, which should be orthonormal (use NoScale
    /// first); a mirrored matrix gives the rotation of its determinant-1
    /// neighbour only approximately. The result is unit length for a rotation.
    explicit Quat(const Matrix3& m);

    /// The rotation matrix of this (unit) quaternion, with a zero translation.
    Matrix3 MakeMatrix() const;
    /// Scales to unit length; the zero quaternion becomes the identity.
    Quat& Normalize();
    /// True when this and q give the same rotation within eps per component:
    /// q and −q are equal, as they turn the same way.
    bool Equals(const Quat& q, float eps) const;
    Quat operator-() const { return {-x, -y, -z, -w}; }
    bool operator==(const Quat& q) const { return x == q.x && y == q.y && z == q.z && w == q.w; }
    float Length() const;
};

/// Spherical interpolation from a (s = 0) to b (s = 1) along the shorter arc.
Quat Slerp(const Quat& a, const Quat& b, float s);

}  // namespace host
