#include "host/math_box.h"

#include <algorithm>

namespace host {

Box3& Box3::operator+=(const Point3& p) {
    for (size_t i = 0; i < 3; ++i) {
        pmin[i] = std::min(pmin[i], p[i]);
        pmax[i] = std::max(pmax[i], p[i]);
    }
    return *this;
}

Box3& Box3::operator+=(const Box3& b) {
    if (!b.IsEmpty()) {
        *this += b.pmin;
        *this += b.pmax;
    }
    return *this;
}

void Box3::IncludePoints(const Point3* points, size_t count, const Matrix3* tm) {
    for (size_t i = 0; i < count; ++i) *this += tm ? points[i] * *tm : points[i];
}

bool Box3::Contains(const Point3& p) const {
    return p.x >= pmin.x && p.x <= pmax.x && p.y >= pmin.y && p.y <= pmax.y && p.z >= pmin.z && p.z <= pmax.z;
}

}  // namespace host
