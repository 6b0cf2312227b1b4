#pragma once
// A shape object read as polylines.
#include <vector>

#include "host/math_point.h"

namespace host {

struct Polyline {
    std::vector<Point3> points;
    bool closed = false;
};

struct PolyShape {
    std::vector<Polyline> lines;
};

}  // namespace host
