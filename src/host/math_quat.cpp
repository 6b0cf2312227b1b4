#include "host/math_quat.h"

#include <cmath>

namespace host {

// The host's quaternion of a row-vector matrix M equals the usual
// (right-handed, column-vector) quaternion of the matrix whose element (i, j)
// is M's element (i, j): storing the transpose is what flips the handedness.
Quat::Quat(const Matrix3& m) {
    auto e = [&m](int i, int j) { return static_cast<double>(m.GetRow(i)[static_cast<size_t>(j)]); };
    const double trace = e(0, 0) + e(1, 1) + e(2, 2);
    double qx, qy, qz, qw;
    if (trace > 0.0) {
        const double s = std::sqrt(trace + 1.0) * 2.0;
        qw = 0.25 * s;
        qx = (e(2, 1) - e(1, 2)) / s;
        qy = (e(0, 2) - e(2, 0)) / s;
        qz = (e(1, 0) - e(0, 1)) / s;
    } else if (e(0, 0) > e(1, 1) && e(0, 0) > e(2, 2)) {
        const double s = std::sqrt(1.0 + e(0, 0) - e(1, 1) - e(2, 2)) * 2.0;
        qw = (e(2, 1) - e(1, 2)) / s;
        qx = 0.25 * s;
        qy = (e(0, 1) + e(1, 0)) / s;
        qz = (e(0, 2) + e(2, 0)) / s;
    } else if (e(1, 1) > e(2, 2)) {
        const double s = std::sqrt(1.0 + e(1, 1) - e(0, 0) - e(2, 2)) * 2.0;
        qw = (e(0, 2) - e(2, 0)) / s;
        qx = (e(0, 1) + e(1, 0)) / s;
        qy = 0.25 * s;
        qz = (e(1, 2) + e(2, 1)) / s;
    } else {
        const double s = std::sqrt(1.0 + e(2, 2) - e(0, 0) - e(1, 1)) * 2.0;
        qw = (e(1, 0) - e(0, 1)) / s;
        qx = (e(0, 2) + e(2, 0)) / s;
        qy = (e(1, 2) + e(2, 1)) / s;
        qz = 0.25 * s;
    }
    x = static_cast<float>(qx);
    y = static_cast<float>(qy);
    z = static_cast<float>(qz);
    w = static_cast<float>(qw);
}

Matrix3 Quat::MakeMatrix() const {
    const float xx = x * x, yy = y * y, zz = z * z;
    const float xy = x * y, xz = x * z, yz = y * z, wx = w * x, wy = w * y, wz = w * z;
    Matrix3 m({1 - 2 * (yy + zz), 2 * (xy - wz), 2 * (xz + wy)},
              {2 * (xy + wz), 1 - 2 * (xx + zz), 2 * (yz - wx)},
              {2 * (xz - wy), 2 * (yz + wx), 1 - 2 * (xx + yy)}, {0, 0, 0});
    m.SetIdentFlags(kPosIdent | kScaleIdent);
    return m;
}

float Quat::Length() const { return std::sqrt(x * x + y * y + z * z + w * w); }

Quat& Quat::Normalize() {
    const float length = Length();
    if (length > 0.0f) {
        x /= length;
        y /= length;
        z /= length;
        w /= length;
    } else {
        *this = Quat();
    }
    return *this;
}

bool Quat::Equals(const Quat& q, float eps) const {
    auto near = [eps](const Quat& a, const Quat& b) {
        return std::fabs(a.x - b.x) <= eps && std::fabs(a.y - b.y) <= eps && std::fabs(a.z - b.z) <= eps &&
               std::fabs(a.w - b.w) <= eps;
    };
    return near(*this, q) || near(*this, -q);
}

Quat Slerp(const Quat& a, const Quat& b, float s) {
    double dot = double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z + double(a.w) * b.w;
    Quat target = b;
    if (dot < 0.0) {
        dot = -dot;
        target = -b;
    }
    double wa = 1.0 - s, wb = s;
    if (dot < 0.9999) {
        const double angle = std::acos(dot);
        const double sin_angle = std::sin(angle);
        wa = std::sin((1.0 - s) * angle) / sin_angle;
        wb = std::sin(s * angle) / sin_angle;
    }
    Quat r(static_cast<float>(wa * a.x + wb * target.x), static_cast<float>(wa * a.y + wb * target.y),
           static_cast<float>(wa * a.z + wb * target.z), static_cast<float>(wa * a.w + wb * target.w));
    return r.Normalize();
}

}  // namespace host
