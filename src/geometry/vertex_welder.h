#pragma once
// Welding: the corners of a mesh become a vertex list in which corners that
// are equal within the welding tolerances share one vertex.
//
// Two vertices are equal when positions, texture coordinates, normals and
// (with a tangent in the format) tangents agree within 0.001 per component,
// and group, smoothing group, colour and (with blend weights in the format)
// bone bytes and weights agree exactly. That relation is not transitive, so
// an ordered map over it is not well defined. The welder gives every corner
// the earliest vertex made so far that equals it, and makes a new vertex
// only when none does: a result fixed by the corner order alone. Where
// corners fall into clusters that are equal within themselves and clearly
// apart from each other, this is what an ordered map would give.
#include <cstdint>
#include <vector>

#include "geometry/mesh_vertex.h"

namespace geometry {

/// Per-component tolerance of the compared float fields.
constexpr float kWeldTolerance = 0.001f;

/// True when a and b weld into one vertex (see above); a component equals
/// another when they differ by at most the tolerance or have the same bits.
bool WeldEqual(const MeshVertex& a, const MeshVertex& b);

class VertexWelder {
public:
    /// expected_vertices sizes the tables; they grow past it.
    explicit VertexWelder(size_t expected_vertices);

    /// The index of the earliest vertex made so far that equals v; when none
    /// does, v is appended and its new index returned.
    uint32_t Add(const MeshVertex& v);

    size_t Count() const { return vertices_.size(); }
    const std::vector<MeshVertex>& Vertices() const { return vertices_; }
    /// Hands the vertex list over; the welder is empty afterwards.
    std::vector<MeshVertex> TakeVertices();

private:
    struct Slot {
        uint32_t hash;
        uint32_t ref;  // a vertex index; kEmpty when free
    };
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;

    uint32_t FindExact(const MeshVertex& v, uint32_t hash) const;
    void InsertExact(uint32_t hash, uint32_t ref);
    uint32_t FindNearest(const MeshVertex& v) const;
    void InsertCell(uint32_t index);
    void GrowExact();
    void GrowCells();

    std::vector<MeshVertex> vertices_;
    std::vector<Slot> exact_;        // the vertices by their bytes, open addressing
    std::vector<uint32_t> cells_;    // first vertex of each cell bucket
    std::vector<uint32_t> nextInCell_;
};

}  // namespace geometry
