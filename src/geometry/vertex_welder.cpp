#include "geometry/vertex_welder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace geometry {

static_assert(std::is_trivially_copyable_v<MeshVertex>);
static_assert(sizeof(MeshVertex) == 84, "MeshVertex is compared and hashed as its bytes: no padding");

namespace {

// Cells of the position grid: several tolerances wide, so that most lookups
// touch one cell and at most two per axis; their borders are shifted off
// round numbers, where modelled vertices gather.
constexpr float kCellSize = 8 * kWeldTolerance;
constexpr double kCellShift = 0.37;

bool Near(float a, float b) {
    return std::fabs(a - b) <= kWeldTolerance || std::memcmp(&a, &b, sizeof a) == 0;
}

bool Near(const host::Point3& a, const host::Point3& b) { return Near(a.x, b.x) && Near(a.y, b.y) && Near(a.z, b.z); }

uint32_t HashBytes(const MeshVertex& v) {
    uint64_t words[11] = {};
    std::memcpy(words, &v, sizeof v);
    uint64_t h = 0x9E3779B97F4A7C15ull;
    for (uint64_t w : words) {
        h ^= w;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    return static_cast<uint32_t>(h ^ (h >> 32));
}

int64_t CellCoord(float value) {
    if (!std::isfinite(value)) return 0;  // equal only to its own bits: one fixed cell
    double cell = std::floor(static_cast<double>(value) / kCellSize + kCellShift);
    return static_cast<int64_t>(std::clamp(cell, -1e12, 1e12));
}

uint32_t CellHash(int64_t x, int64_t y, int64_t z) {
    uint64_t h = static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(y) * 0xC2B2AE3D27D4EB4Full ^
                 static_cast<uint64_t>(z) * 0x165667B19E3779F9ull;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    return static_cast<uint32_t>(h ^ (h >> 32));
}

size_t PowerOfTwoAtLeast(size_t n) {
    size_t p = 16;
    while (p < n) p <<= 1;
    return p;
}

}  // namespace

bool WeldEqual(const MeshVertex& a, const MeshVertex& b) {
    if (a.group != b.group || a.smoothing != b.smoothing || a.format != b.format) return false;
    if (!Near(a.position, b.position)) return false;
    for (int k = 0; k < 2; ++k)
        if (!Near(a.uv[k].x, b.uv[k].x) || !Near(a.uv[k].y, b.uv[k].y)) return false;
    const uint32_t format = a.format;
    if (WeightCount(format) > 0) {
        if (std::memcmp(a.boneIndices, b.boneIndices, sizeof a.boneIndices) != 0) return false;
        if (std::memcmp(a.weights, b.weights, sizeof a.weights) != 0) return false;
    }
    if ((format & kFormatNormal) && !Near(a.normal, b.normal)) return false;
    if (format & kFormatTangent) {
        if (!Near(a.tangent.x, b.tangent.x) || !Near(a.tangent.y, b.tangent.y) || !Near(a.tangent.z, b.tangent.z) ||
            !Near(a.tangent.w, b.tangent.w))
            return false;
    }
    if ((format & kFormatColour) && a.colour != b.colour) return false;
    return true;
}

VertexWelder::VertexWelder(size_t expected_vertices) {
    vertices_.reserve(expected_vertices);
    exact_.assign(PowerOfTwoAtLeast(expected_vertices * 2), Slot{0, kEmpty});
    cells_.assign(PowerOfTwoAtLeast(expected_vertices), kEmpty);
}

std::vector<MeshVertex> VertexWelder::TakeVertices() {
    std::vector<MeshVertex> taken = std::move(vertices_);
    *this = VertexWelder(0);
    return taken;
}

uint32_t VertexWelder::Add(const MeshVertex& v) {
    const uint32_t hash = HashBytes(v);
    // An identical corner seen before names the earliest vertex equal to it:
    // every vertex equal to this corner was equal to that one too.
    uint32_t found = FindExact(v, hash);
    if (found != kEmpty) return found;
    found = FindNearest(v);
    if (found != kEmpty) return found;
    const auto index = static_cast<uint32_t>(vertices_.size());
    vertices_.push_back(v);
    InsertExact(hash, index);
    InsertCell(index);
    return index;
}

uint32_t VertexWelder::FindExact(const MeshVertex& v, uint32_t hash) const {
    const size_t mask = exact_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = exact_[i];
        if (slot.ref == kEmpty) return kEmpty;
        if (slot.hash == hash && std::memcmp(&vertices_[slot.ref], &v, sizeof v) == 0) return slot.ref;
    }
}

void VertexWelder::InsertExact(uint32_t hash, uint32_t ref) {
    if (vertices_.size() * 2 > exact_.size()) GrowExact();
    const size_t mask = exact_.size() - 1;
    size_t i = hash & mask;
    while (exact_[i].ref != kEmpty) i = (i + 1) & mask;
    exact_[i] = {hash, ref};
}

void VertexWelder::GrowExact() {
    std::vector<Slot> old = std::move(exact_);
    exact_.assign(old.size() * 2, Slot{0, kEmpty});
    const size_t mask = exact_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.ref == kEmpty) continue;
        size_t i = slot.hash & mask;
        while (exact_[i].ref != kEmpty) i = (i + 1) & mask;
        exact_[i] = slot;
    }
}

uint32_t VertexWelder::FindNearest(const MeshVertex& v) const {
    int64_t lo[3], hi[3];
    for (size_t a = 0; a < 3; ++a) {
        lo[a] = CellCoord(v.position[a] - kWeldTolerance);
        hi[a] = CellCoord(v.position[a] + kWeldTolerance);
        if (!std::isfinite(v.position[a])) lo[a] = hi[a] = 0;
    }
    const size_t mask = cells_.size() - 1;
    uint32_t best = kEmpty;
    for (int64_t x = lo[0]; x <= hi[0]; ++x)
        for (int64_t y = lo[1]; y <= hi[1]; ++y)
            for (int64_t z = lo[2]; z <= hi[2]; ++z)
                for (uint32_t u = cells_[CellHash(x, y, z) & mask]; u != kEmpty; u = nextInCell_[u])
                    if (u < best && WeldEqual(vertices_[u], v)) best = u;
    return best;
}

void VertexWelder::InsertCell(uint32_t index) {
    if (vertices_.size() > cells_.size()) GrowCells();
    const host::Point3& p = vertices_[index].position;
    const size_t bucket = CellHash(CellCoord(p.x), CellCoord(p.y), CellCoord(p.z)) & (cells_.size() - 1);
    nextInCell_.push_back(cells_[bucket]);
    cells_[bucket] = index;
}

void VertexWelder::GrowCells() {
    cells_.assign(cells_.size() * 2, kEmpty);
    const size_t mask = cells_.size() - 1;
    for (uint32_t index = 0; index < nextInCell_.size(); ++index) {
        const host::Point3& p = vertices_[index].position;
        const size_t bucket = CellHash(CellCoord(p.x), CellCoord(p.y), CellCoord(p.z)) & mask;
        nextInCell_[index] = cells_[bucket];
        cells_[bucket] = index;
    }
}

}  // namespace geometry
