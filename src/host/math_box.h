#pragma once
// The host's axis-aligned bounding box.
#include <cstddef>

#include "host/math_matrix.h"

namespace host {

/// The corner values of an empty box, as the host's Init leaves them.
constexpr float kBigFloat = 1.0e30f;

struct Box3 {
    Point3 pmin{kBigFloat, kBigFloat, kBigFloat};
    Point3 pmax{-kBigFloat, -kBigFloat, -kBigFloat};

    /// An empty box.
    Box3() = default;
    Box3(const Point3& min_corner, const Point3& max_corner) : pmin(min_corner), pmax(max_corner) {}

    /// Makes the box empty: pmin = +1e30, pmax = −1e30 on every axis.
    void Init() { *this = Box3(); }
    /// True when no point was added (pmin above pmax on x).
    bool IsEmpty() const { return pmin.x > pmax.x; }
    /// Grows the box to hold p.
    Box3& operator+=(const Point3& p);
    /// Grows the box to hold b; an empty b changes nothing.
    Box3& operator+=(const Box3& b);
    /// Grows the box to hold count points, each first transformed by tm when
    /// given.
    void IncludePoints(const Point3* points, size_t count, const Matrix3* tm = nullptr);
    Point3 Center() const { return (pmin + pmax) * 0.5f; }
    /// pmax − pmin.
    Point3 Width() const { return pmax - pmin; }
    bool Contains(const Point3& p) const;
};

}  // namespace host
