#include "volumes/rectangle_search.h"

#include <algorithm>
#include <cmath>

namespace volumes {

namespace {

// The extent of the points along an axis (s) and across it (u).
struct Ranges {
    float s_min, s_max, u_min, u_max;
    float Area() const { return (s_max - s_min) * (u_max - u_min); }
};

Ranges RangesAlong(const std::vector<host::Point2>& points, const host::Point2& axis) {
    Ranges r{points[0].x * axis.x + points[0].y * axis.y, 0, points[0].x * axis.y - points[0].y * axis.x, 0};
    r.s_max = r.s_min;
    r.u_max = r.u_min;
    for (const host::Point2& p : points) {
        const float s = axis.x * p.x + axis.y * p.y;
        const float u = p.x * axis.y - p.y * axis.x;
        r.s_min = std::min(r.s_min, s);
        r.s_max = std::max(r.s_max, s);
        r.u_min = std::min(r.u_min, u);
        r.u_max = std::max(r.u_max, u);
    }
    return r;
}

}  // namespace

Rectangle2 SmallestRectangle(const std::vector<host::Point2>& points) {
    float best_area = 1e38f;
    host::Point2 best_axis(1.0f, 0.0f);
    Ranges best = RangesAlong(points, best_axis);
    for (int a = 0; a < kRectangleSteps; ++a) {
        const float theta = static_cast<float>(a) * kRectangleQuarterTurn / static_cast<float>(kRectangleSteps);
        const host::Point2 axis(std::cos(theta), std::sin(theta));
        const Ranges r = RangesAlong(points, axis);
        if (r.Area() < best_area) {
            best_area = r.Area();
            best_axis = axis;
            best = r;
        }
    }
    // (s, u) = (a·p, p × a) is its own inverse: p = s·a + u·(a.y, −a.x).
    const float s = (best.s_min + best.s_max) * 0.5f, u = (best.u_min + best.u_max) * 0.5f;
    Rectangle2 rect;
    rect.center = host::Point2(best_axis.x * s + best_axis.y * u, best_axis.y * s - best_axis.x * u);
    rect.extent = host::Point2((best.s_max - best.s_min) * 0.5f, (best.u_max - best.u_min) * 0.5f);
    rect.axis = best_axis;
    return rect;
}

}  // namespace volumes
