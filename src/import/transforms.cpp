#include "import/transforms.h"

#include <algorithm>
#include <cmath>

namespace import {

host::Matrix3 FromColumnMajor(const double m[16]) {
    auto row = [m](int column) { return host::Point3(float(m[column * 4]), float(m[column * 4 + 1]), float(m[column * 4 + 2])); };
    return host::Matrix3(row(0), row(1), row(2), row(3));
}

host::Matrix3 RotationMatrix(Rotation q) {
    const double length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (!(length > 0) || !std::isfinite(length)) return host::Matrix3();
    const double x = q.x / length, y = q.y / length, z = q.z / length, w = q.w / length;
    // The rows are the columns of the column-vector rotation matrix.
    return host::Matrix3({float(1 - 2 * (y * y + z * z)), float(2 * (x * y + z * w)), float(2 * (x * z - y * w))},
                         {float(2 * (x * y - z * w)), float(1 - 2 * (x * x + z * z)), float(2 * (y * z + x * w))},
                         {float(2 * (x * z + y * w)), float(2 * (y * z - x * w)), float(1 - 2 * (x * x + y * y))},
                         {0, 0, 0});
}

host::Matrix3 Compose(const host::Point3& translation, Rotation rotation, const host::Point3& scale) {
    host::Matrix3 m = host::Matrix3::Scale(scale) * RotationMatrix(rotation);
    m.SetTrans(translation);
    return m;
}

float Limited(double v) {
    if (std::isnan(v)) return 0.0f;
    return float(std::clamp(v, -kLargestNumber, kLargestNumber));
}

host::Point3 Limited(const host::Point3& p) { return {Limited(p.x), Limited(p.y), Limited(p.z)}; }

host::Matrix3 Limited(const host::Matrix3& m) {
    host::Matrix3 out(Limited(m.GetRow(0)), Limited(m.GetRow(1)), Limited(m.GetRow(2)), Limited(m.GetRow(3)));
    out.SetIdentFlags(m.GetIdentFlags());
    return out;
}

Rotation Slerp(Rotation a, Rotation b, double s) {
    double dot = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    if (dot < 0) {
        b = {-b.x, -b.y, -b.z, -b.w};
        dot = -dot;
    }
    double wa = 1 - s, wb = s;
    if (dot < 0.9995) {
        const double angle = std::acos(std::min(dot, 1.0));
        const double sine = std::sin(angle);
        wa = std::sin((1 - s) * angle) / sine;
        wb = std::sin(s * angle) / sine;
    }
    return {wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z, wa * a.w + wb * b.w};
}

}  // namespace import
