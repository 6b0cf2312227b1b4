#pragma once
// Host value types for points and vectors, with the host's arithmetic.
#include <cmath>
#include <cstddef>

namespace host {

struct Point2 {
    float x = 0.0f, y = 0.0f;

    Point2() = default;
    Point2(float x_, float y_) : x(x_), y(y_) {}
    float& operator[](size_t i) { return i == 0 ? x : y; }
    float operator[](size_t i) const { return i == 0 ? x : y; }
    Point2 operator+(const Point2& p) const { return {x + p.x, y + p.y}; }
    Point2 operator-(const Point2& p) const { return {x - p.x, y - p.y}; }
    Point2 operator*(float s) const { return {x * s, y * s}; }
    bool operator==(const Point2& p) const { return x == p.x && y == p.y; }
};

struct Point3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;

    Point3() = default;
    Point3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    /// Component i (0: x, 1: y, 2: z); i must be below 3.
    float& operator[](size_t i) { return i == 0 ? x : (i == 1 ? y : z); }
    float operator[](size_t i) const { return i == 0 ? x : (i == 1 ? y : z); }

    Point3 operator+(const Point3& p) const { return {x + p.x, y + p.y, z + p.z}; }
    Point3 operator-(const Point3& p) const { return {x - p.x, y - p.y, z - p.z}; }
    Point3 operator-() const { return {-x, -y, -z}; }
    Point3 operator*(float s) const { return {x * s, y * s, z * s}; }
    Point3 operator/(float s) const { return {x / s, y / s, z / s}; }
    /// Component-wise product.
    Point3 operator*(const Point3& p) const { return {x * p.x, y * p.y, z * p.z}; }
    Point3& operator+=(const Point3& p) { x += p.x; y += p.y; z += p.z; return *this; }
    Point3& operator-=(const Point3& p) { x -= p.x; y -= p.y; z -= p.z; return *this; }
    Point3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    bool operator==(const Point3& p) const { return x == p.x && y == p.y && z == p.z; }
    bool operator!=(const Point3& p) const { return !(*this == p); }

    float Length() const { return std::sqrt(x * x + y * y + z * z); }
    float LengthSquared() const { return x * x + y * y + z * z; }
    /// True when every component differs from p's by at most eps.
    bool Equals(const Point3& p, float eps) const {
        return std::fabs(x - p.x) <= eps && std::fabs(y - p.y) <= eps && std::fabs(z - p.z) <= eps;
    }
};

inline Point3 operator*(float s, const Point3& p) { return p * s; }

struct Point4 {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;

    Point4() = default;
    Point4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    Point4(const Point3& p, float w_) : x(p.x), y(p.y), z(p.z), w(w_) {}
    bool operator==(const Point4& p) const { return x == p.x && y == p.y && z == p.z && w == p.w; }
};

inline float DotProd(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Point3 CrossProd(const Point3& a, const Point3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
/// The unit vector along p; the zero vector stays zero.
inline Point3 Normalize(const Point3& p) {
    const float length = p.Length();
    return length > 0.0f ? p / length : p;
}
inline float Length(const Point3& p) { return p.Length(); }

}  // namespace host
