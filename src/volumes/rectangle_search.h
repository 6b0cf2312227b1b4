#pragma once
// The smallest rectangle around the ground plan of a mesh zone.
#include <vector>

#include "host/math_point.h"

namespace volumes {

/// An oriented rectangle in the plane.
struct Rectangle2 {
    host::Point2 center;
    host::Point2 extent;  ///< half the length along axis, half the width across it
    host::Point2 axis;    ///< unit vector of the first side
};

/// The number of axis angles tried, and the quarter turn they divide.
inline constexpr int kRectangleSteps = 90;
inline constexpr float kRectangleQuarterTurn = 1.57f;

/// The rectangle of least area holding every point, among the axes at the
/// angles a × 1.57 / 90 for a = 0 to 89. Only a strictly smaller area
/// replaces the best so far, so among equal areas the smallest angle wins
/// (points on one line: the first angle reaching zero). points must not be
/// empty.
Rectangle2 SmallestRectangle(const std::vector<host::Point2>& points);

}  // namespace volumes
