#pragma once
// Turns a strip layout into the primitive groups the optimiser returns.
#include <vector>

#include "geometry/primitive_group.h"
#include "geometry/strip_faces.h"
#include "geometry/strip_search.h"

namespace geometry {

/// One triangle list: the faces of every strip in strip order, then the
/// leftovers, each face in its own winding. No group when there are no faces.
std::vector<PrimitiveGroup> BuildListGroups(const StripFaceTable& table, const StripLayout& layout);

/// Strip groups (one, or one per strip when options.stitch_strips is off),
/// then a list group of the leftover faces when there are any. Stitched
/// strips are joined with options.restart_value when options.primitive_restart
/// is on, otherwise with degenerate triangles that keep each strip's winding.
std::vector<PrimitiveGroup> BuildStripGroups(const StripFaceTable& table, const StripLayout& layout,
                                             const StripOptions& options);

}  // namespace geometry
