#pragma once
// A first-in first-out post-transform vertex cache, as the triangle optimiser
// models it and as the benchmarks measure orderings with.
#include <cstdint>
#include <span>
#include <vector>

namespace geometry {

/// A FIFO cache of entry_count vertex entries over vertices 0..vertex_count-1.
/// A hit does not refresh an entry; a miss inserts the vertex and pushes the
/// oldest entry out once the cache is full.
class FifoVertexCache {
public:
    FifoVertexCache(uint32_t vertex_count, uint32_t entry_count);

    uint32_t EntryCount() const { return entry_count_; }
    /// Misses so far: the number of vertices transformed.
    uint32_t MissCount() const { return miss_count_; }

    /// True when vertex is in the cache now.
    bool Contains(uint32_t vertex) const { return ContainsAfter(vertex, 0); }
    /// True when vertex would still be in the cache after extra_misses more
    /// insertions of other vertices.
    bool ContainsAfter(uint32_t vertex, uint32_t extra_misses) const {
        uint32_t stamp = stamps_[vertex];
        return stamp != 0 && miss_count_ + extra_misses - stamp < entry_count_;
    }
    /// MissCount() right after vertex last went in; 0 when it never did.
    uint32_t Stamp(uint32_t vertex) const { return stamps_[vertex]; }
    /// Looks vertex up and inserts it on a miss; returns true on a miss.
    bool Touch(uint32_t vertex) {
        if (Contains(vertex)) return false;
        stamps_[vertex] = ++miss_count_;
        return true;
    }

private:
    uint32_t entry_count_;
    uint32_t miss_count_ = 0;
    std::vector<uint32_t> stamps_;  // miss count right after the vertex went in; 0: never
};

/// Vertices transformed when the triangle list indices is drawn in order
/// through a FIFO cache of entry_count entries.
uint32_t CountCacheMisses(std::span<const uint16_t> indices, uint32_t entry_count);

/// Vertices transformed per triangle (ACMR) for the triangle list indices;
/// 0 for an empty list.
double AverageCacheMissRatio(std::span<const uint16_t> indices, uint32_t entry_count);

}  // namespace geometry
