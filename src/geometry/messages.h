#pragma once
// The geometry subsystem's texts. The triangle optimiser's lines go to
// standard output as they are: they are diagnostics for developers, not
// messages to the artist.
namespace geometry::msg {

inline constexpr const char* kEdgeSharedByMoreThanTwo =
    "BuildStripifyInfo: > 2 triangles on an edge... uncertain consequences";
inline constexpr const char* kTriangleLacksVertices = "GetNextIndex: Triangle doesn't have all of its vertices";
inline constexpr const char* kDuplicateTriangleDerailed = "GetNextIndex: Duplicate triangle probably got us derailed";

}  // namespace geometry::msg
