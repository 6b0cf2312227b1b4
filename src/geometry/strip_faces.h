#pragma once
// The face table the strip search walks: the non-degenerate triangles of an
// index list and, for each edge of each face, the face across it.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace geometry {

/// A triangle in its own winding. Edge slot e runs from v[e] to v[(e + 1) % 3].
struct StripFace {
    std::array<uint16_t, 3> v;
};

/// Faces and their edge adjacency. Two faces are neighbours across an edge
/// when they hold it in opposite directions, so that a strip passing between
/// them keeps both windings; each edge slot has at most one neighbour.
struct StripFaceTable {
    static constexpr uint32_t kNoNeighbour = UINT32_MAX;

    std::vector<StripFace> faces;
    /// For face f and edge slot e, at 3 * f + e: 3 * g + s for the neighbour g
    /// holding the edge in its slot s, or kNoNeighbour.
    std::vector<uint32_t> neighbours;
    /// Largest index of the input + 1 (0 for no input).
    uint32_t vertex_count = 0;

    uint32_t FaceCount() const { return static_cast<uint32_t>(faces.size()); }
};

/// Builds the face table of a triangle list (index count a multiple of 3).
/// Triangles with two equal indices are left out; the others are ordered by
/// their smallest index, stably, so that faces near each other in the mesh
/// are near each other in the table whatever the input's order. An edge held by more than
/// two faces is reported once on standard output; its faces are paired in
/// face order as far as they go, and the build goes on.
StripFaceTable BuildStripFaceTable(std::span<const uint16_t> indices);

/// The vertex of face that is neither a nor b. When the face lacks a or b (a
/// strip step derailed, e.g. by a duplicate triangle) it reports that on
/// standard output and returns nothing.
std::optional<uint16_t> NextIndex(const StripFace& face, uint16_t a, uint16_t b);

}  // namespace geometry
