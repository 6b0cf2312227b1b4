#include "support/test_meshes.h"

#include <algorithm>
#include <array>
#include <random>
#include <set>

namespace qeltest {

namespace {

using Face = std::array<uint32_t, 3>;

// The two triangles of a grid quad whose corners run a, b, c, d around it;
// split along a-c or, with other_diagonal, along b-d.
void AddQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d, bool other_diagonal, std::vector<Face>& faces) {
    if (other_diagonal) {
        faces.push_back({a, b, d});
        faces.push_back({b, c, d});
    } else {
        faces.push_back({a, b, c});
        faces.push_back({a, c, d});
    }
}

std::vector<Face> GridFaces(uint32_t columns, uint32_t rows, std::mt19937* random_diagonals) {
    std::vector<Face> faces;
    faces.reserve(2u * columns * rows);
    auto vertex = [columns](uint32_t x, uint32_t y) { return y * (columns + 1) + x; };
    for (uint32_t y = 0; y < rows; ++y)
        for (uint32_t x = 0; x < columns; ++x)
            AddQuad(vertex(x, y), vertex(x + 1, y), vertex(x + 1, y + 1), vertex(x, y + 1),
                    random_diagonals && (*random_diagonals)() % 2 != 0, faces);
    return faces;
}

IndexList ToIndices(const std::vector<Face>& faces) {
    IndexList indices;
    indices.reserve(faces.size() * 3);
    for (const Face& face : faces)
        for (uint32_t vertex : face) indices.push_back(static_cast<uint16_t>(vertex));
    return indices;
}

// Collapses of inner edges on a triangle mesh, each keeping it a manifold:
// the two ends of the edge may share no neighbour but the two vertices
// across it.
class Decimator {
public:
    Decimator(std::vector<Face> faces, std::vector<bool> border)
        : faces_(std::move(faces)), alive_(faces_.size(), true), border_(std::move(border)),
          around_(border_.size()), alive_count_(faces_.size()) {
        for (uint32_t f = 0; f < faces_.size(); ++f)
            for (uint32_t vertex : faces_[f]) around_[vertex].push_back(f);
    }

    void CollapseDownTo(size_t triangle_count, std::mt19937& random) {
        for (size_t attempt = 0; alive_count_ > triangle_count && attempt < 100 * faces_.size(); ++attempt) {
            uint32_t f = random() % faces_.size();
            uint32_t slot = random() % 3;
            if (alive_[f]) TryCollapse(faces_[f][slot], faces_[f][(slot + 1) % 3]);
        }
    }

    std::vector<Face> AliveFaces() const {
        std::vector<Face> faces;
        for (uint32_t f = 0; f < faces_.size(); ++f)
            if (alive_[f]) faces.push_back(faces_[f]);
        return faces;
    }

private:
    std::set<uint32_t> Neighbours(uint32_t vertex) const {
        std::set<uint32_t> neighbours;
        for (uint32_t f : around_[vertex])
            if (alive_[f])
                for (uint32_t other : faces_[f])
                    if (other != vertex) neighbours.insert(other);
        return neighbours;
    }

    // Merges `gone` into `kept`.
    void TryCollapse(uint32_t gone, uint32_t kept) {
        if (border_[gone] || border_[kept]) return;
        std::set<uint32_t> gone_neighbours = Neighbours(gone);
        std::set<uint32_t> kept_neighbours = Neighbours(kept);
        std::vector<uint32_t> common;
        std::set_intersection(gone_neighbours.begin(), gone_neighbours.end(), kept_neighbours.begin(),
                              kept_neighbours.end(), std::back_inserter(common));
        if (common.size() != 2 || gone_neighbours.size() + kept_neighbours.size() > 20) return;
        for (uint32_t f : around_[gone]) {
            if (!alive_[f]) continue;
            Face& face = faces_[f];
            if (std::find(face.begin(), face.end(), kept) != face.end()) {
                alive_[f] = false;
                --alive_count_;
                continue;
            }
            std::replace(face.begin(), face.end(), gone, kept);
            around_[kept].push_back(f);
        }
    }

    std::vector<Face> faces_;
    std::vector<bool> alive_;
    std::vector<bool> border_;
    std::vector<std::vector<uint32_t>> around_;
    size_t alive_count_;
};

}  // namespace

IndexList GridMesh(uint32_t columns, uint32_t rows) { return ToIndices(GridFaces(columns, rows, nullptr)); }

IndexList UvSphereMesh(uint32_t segments, uint32_t rings) {
    const uint32_t north = 0;
    const uint32_t south = 1 + (rings - 1) * segments;
    auto vertex = [segments](uint32_t ring, uint32_t segment) { return 1 + (ring - 1) * segments + segment % segments; };
    std::vector<Face> faces;
    for (uint32_t s = 0; s < segments; ++s) faces.push_back({north, vertex(1, s), vertex(1, s + 1)});
    for (uint32_t r = 1; r + 1 < rings; ++r)
        for (uint32_t s = 0; s < segments; ++s)
            AddQuad(vertex(r, s), vertex(r + 1, s), vertex(r + 1, s + 1), vertex(r, s + 1), false, faces);
    for (uint32_t s = 0; s < segments; ++s) faces.push_back({south, vertex(rings - 1, s + 1), vertex(rings - 1, s)});
    return ToIndices(faces);
}

IndexList IrregularMesh(uint32_t columns, uint32_t rows, uint32_t triangle_count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<bool> border((columns + 1) * (rows + 1), false);
    for (uint32_t y = 0; y <= rows; ++y)
        for (uint32_t x = 0; x <= columns; ++x)
            border[y * (columns + 1) + x] = x == 0 || y == 0 || x == columns || y == rows;
    Decimator decimator(GridFaces(columns, rows, &random), std::move(border));
    decimator.CollapseDownTo(triangle_count, random);
    return ToIndices(decimator.AliveFaces());
}

IndexList ShuffleTriangles(const IndexList& indices, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint32_t> order(indices.size() / 3);
    for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    // Fisher-Yates with the engine's raw output, so the order is the same
    // with every standard library.
    for (size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random() % i]);
    IndexList shuffled;
    shuffled.reserve(indices.size());
    for (uint32_t t : order) shuffled.insert(shuffled.end(), indices.begin() + 3 * t, indices.begin() + 3 * t + 3);
    return shuffled;
}

uint32_t UsedVertexCount(const IndexList& indices) {
    return static_cast<uint32_t>(std::set<uint16_t>(indices.begin(), indices.end()).size());
}

}  // namespace qeltest
