#include "host/math_matrix.h"

#include <cmath>

namespace host {

Matrix3::Matrix3() : rows_{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}}, flags_(kMatIdent) {}

Matrix3::Matrix3(const Point3& row0, const Point3& row1, const Point3& row2, const Point3& row3)
    : rows_{row0, row1, row2, row3}, flags_(0) {}

Matrix3 Matrix3::Scale(const Point3& scale) {
    Matrix3 m;
    m.SetScale(scale);
    return m;
}

Matrix3 Matrix3::Translation(const Point3& position) {
    Matrix3 m;
    m.SetTrans(position);
    return m;
}

Matrix3 Matrix3::RotateX(float angle_rad) { return RotateAxis({1, 0, 0}, angle_rad); }
Matrix3 Matrix3::RotateY(float angle_rad) { return RotateAxis({0, 1, 0}, angle_rad); }
Matrix3 Matrix3::RotateZ(float angle_rad) { return RotateAxis({0, 0, 1}, angle_rad); }

Matrix3 Matrix3::RotateAxis(const Point3& axis, float angle_rad) {
    // Rodrigues' formula for column vectors, stored transposed for row vectors.
    const float c = std::cos(angle_rad), s = std::sin(angle_rad), k = 1.0f - c;
    const float x = axis.x, y = axis.y, z = axis.z;
    Matrix3 m({c + x * x * k, x * y * k + z * s, x * z * k - y * s},
              {x * y * k - z * s, c + y * y * k, y * z * k + x * s},
              {x * z * k + y * s, y * z * k - x * s, c + z * z * k}, {0, 0, 0});
    m.flags_ = kPosIdent | kScaleIdent;
    return m;
}

void Matrix3::SetRow(int i, const Point3& row) {
    rows_[i] = row;
    flags_ &= i == 3 ? ~uint32_t(kPosIdent) : ~uint32_t(kRotIdent | kScaleIdent);
}

void Matrix3::SetTrans(const Point3& position) {
    rows_[3] = position;
    flags_ &= ~uint32_t(kPosIdent);
}

void Matrix3::SetScale(const Point3& scale) {
    *this = Matrix3();
    rows_[0].x = scale.x;
    rows_[1].y = scale.y;
    rows_[2].z = scale.z;
    flags_ = kPosIdent | kRotIdent;
}

void Matrix3::NoScale() {
    for (int i = 0; i < 3; ++i) rows_[i] = Normalize(rows_[i]);
    flags_ |= kScaleIdent;
}

float Matrix3::Determinant() const { return DotProd(CrossProd(rows_[0], rows_[1]), rows_[2]); }

bool Matrix3::Parity() const { return Determinant() < 0.0f; }

Matrix3 Matrix3::operator*(const Matrix3& m) const {
    Matrix3 r;
    for (int i = 0; i < 4; ++i) {
        const Point3& a = rows_[i];
        r.rows_[i] = m.rows_[0] * a.x + m.rows_[1] * a.y + m.rows_[2] * a.z;
    }
    r.rows_[3] += m.rows_[3];
    r.flags_ = flags_ & m.flags_;
    return r;
}

bool Matrix3::operator==(const Matrix3& m) const {
    for (int i = 0; i < 4; ++i)
        if (rows_[i] != m.rows_[i]) return false;
    return true;
}

bool Matrix3::Equals(const Matrix3& m, float eps) const {
    for (int i = 0; i < 4; ++i)
        if (!rows_[i].Equals(m.rows_[i], eps)) return false;
    return true;
}

Point3 Matrix3::TransformPoint(const Point3& p) const { return VectorTransform(p) + rows_[3]; }

Point3 Matrix3::VectorTransform(const Point3& v) const { return rows_[0] * v.x + rows_[1] * v.y + rows_[2] * v.z; }

Matrix3 Inverse(const Matrix3& m) {
    // The axis part's inverse is its adjugate over the determinant; in double,
    // so that nearly singular but valid matrices keep their precision.
    double a[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) a[i][j] = m.GetRow(i)[static_cast<size_t>(j)];
    const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                       a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                       a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    if (det == 0.0 || !std::isfinite(det)) return Matrix3();
    const double inv = 1.0 / det;
    double b[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            b[i][j] = (a[r0][c0] * a[r1][c1] - a[r0][c1] * a[r1][c0]) * inv;
        }
    }
    Point3 rows[3];
    for (int i = 0; i < 3; ++i)
        rows[i] = Point3(static_cast<float>(b[i][0]), static_cast<float>(b[i][1]), static_cast<float>(b[i][2]));
    const Point3 t = m.GetTrans();
    Point3 trans;
    for (int j = 0; j < 3; ++j)
        trans[static_cast<size_t>(j)] = static_cast<float>(-(t.x * b[0][j] + t.y * b[1][j] + t.z * b[2][j]));
    Matrix3 r(rows[0], rows[1], rows[2], trans);
    r.SetIdentFlags(m.GetIdentFlags());
    return r;
}

Matrix3 NoScale(const Matrix3& m) {
    Matrix3 r = m;
    r.NoScale();
    return r;
}

Matrix3 Transpose(const Matrix3& m) {
    Point3 rows[3];
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j) rows[i][j] = m.GetRow(static_cast<int>(j))[i];
    Matrix3 r(rows[0], rows[1], rows[2], {0, 0, 0});
    r.SetIdentFlags((m.GetIdentFlags() & (kRotIdent | kScaleIdent)) | kPosIdent);
    return r;
}

}  // namespace host
