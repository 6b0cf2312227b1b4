#pragma once
// Triangle lists of known shape for the triangle optimiser's tests and
// benchmarks. Every mesh is built deterministically from its arguments.
#include <cstdint>
#include <vector>

namespace qeltest {

using IndexList = std::vector<uint16_t>;

/// A grid of columns x rows quads, two triangles each, row by row, with
/// consistent winding; (columns + 1) * (rows + 1) vertices.
IndexList GridMesh(uint32_t columns, uint32_t rows);

/// A closed sphere of segments around and rings from pole to pole: a fan at
/// each pole and quads between; segments * (rings - 1) + 2 vertices.
IndexList UvSphereMesh(uint32_t segments, uint32_t rings);

/// An irregular manifold patch: a grid of columns x rows quads with random
/// diagonals, decimated by random collapses of inner edges down to at most
/// triangle_count triangles, in the grid's row order.
IndexList IrregularMesh(uint32_t columns, uint32_t rows, uint32_t triangle_count, uint32_t seed);

/// The same triangles in a random order, each keeping its own indices.
IndexList ShuffleTriangles(const IndexList& indices, uint32_t seed);

/// The number of different vertices the triangles use.
uint32_t UsedVertexCount(const IndexList& indices);

}  // namespace qeltest
