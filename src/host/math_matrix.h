#pragma once
// The host's transform matrix: four rows of three floats (x axis, y axis,
// z axis, translation) acting on row vectors, p' = p × M, so A × B applies A
// first. Identity flags record which parts are known to be the identity;
// operations keep them as the host does.
#include <cstdint>

#include "host/math_point.h"

namespace host {

// Identity flags of a Matrix3.
enum : uint32_t {
    kPosIdent = 0x1,  ///< the translation row is zero
    kRotIdent = 0x2,  ///< no rotation
    kScaleIdent = 0x4,  ///< no scale
    kMatIdent = kPosIdent | kRotIdent | kScaleIdent,
};

class Matrix3 {
public:
    /// The identity with every identity flag set.
    Matrix3();
    /// From four rows; no identity flag is set.
    Matrix3(const Point3& row0, const Point3& row1, const Point3& row2, const Point3& row3);

    static Matrix3 Identity() { return Matrix3(); }
    /// A scale matrix (rotation and translation flags kept).
    static Matrix3 Scale(const Point3& scale);
    /// A translation matrix.
    static Matrix3 Translation(const Point3& position);
    /// A rotation by angle_rad about the x (y, z) axis, right-hand rule.
    static Matrix3 RotateX(float angle_rad);
    static Matrix3 RotateY(float angle_rad);
    static Matrix3 RotateZ(float angle_rad);
    /// A rotation by angle_rad about a unit axis, right-hand rule.
    static Matrix3 RotateAxis(const Point3& axis, float angle_rad);

    /// Row i (0..3); row 3 is the translation.
    const Point3& GetRow(int i) const { return rows_[i]; }
    /// Sets row i and clears the identity flags the row affects.
    void SetRow(int i, const Point3& row);
    Point3 GetTrans() const { return rows_[3]; }
    /// Sets the translation and clears kPosIdent.
    void SetTrans(const Point3& position);
    /// Makes this the scale matrix of scale (as the host's SetScale).
    void SetScale(const Point3& scale);

    uint32_t GetIdentFlags() const { return flags_; }
    void ClearIdentFlag(uint32_t flag) { flags_ &= ~flag; }
    void SetIdentFlags(uint32_t flags) { flags_ = flags; }
    /// True when every identity flag is set.
    bool IsIdentity() const { return (flags_ & kMatIdent) == kMatIdent; }

    /// Normalises the three axis rows, removing scale but keeping a mirror;
    /// a zero row stays zero.
    void NoScale();
    /// True when the axes are left-handed (a mirrored transform).
    bool Parity() const;
    /// The determinant of the 3×3 axis part.
    float Determinant() const;

    /// This then m (row vectors); the flags are those both operands share.
    Matrix3 operator*(const Matrix3& m) const;
    Matrix3& operator*=(const Matrix3& m) { return *this = *this * m; }
    bool operator==(const Matrix3& m) const;
    /// True when every element differs from m's by at most eps.
    bool Equals(const Matrix3& m, float eps) const;

    /// The point p transformed by this matrix, translation included.
    Point3 TransformPoint(const Point3& p) const;
    /// The vector v transformed without translation.
    Point3 VectorTransform(const Point3& v) const;

private:
    Point3 rows_[4];
    uint32_t flags_ = kMatIdent;
};

/// The point p transformed by m (the host's row-vector product).
inline Point3 operator*(const Point3& p, const Matrix3& m) { return m.TransformPoint(p); }
/// The same product written the other way round, as the host allows.
inline Point3 operator*(const Matrix3& m, const Point3& p) { return m.TransformPoint(p); }

/// The inverse of an affine matrix (any non-singular axis part, scaled or
/// sheared); a singular matrix gives the identity, so callers never see NaN.
Matrix3 Inverse(const Matrix3& m);
/// m with NoScale applied.
Matrix3 NoScale(const Matrix3& m);
/// The transpose of m's axis part with a zero translation (for normals, use
/// Transpose(Inverse(m))).
Matrix3 Transpose(const Matrix3& m);

}  // namespace host
