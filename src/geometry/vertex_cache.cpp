#include "geometry/vertex_cache.h"

#include <algorithm>

namespace geometry {

FifoVertexCache::FifoVertexCache(uint32_t vertex_count, uint32_t entry_count)
    : entry_count_(entry_count), stamps_(vertex_count, 0) {}

uint32_t CountCacheMisses(std::span<const uint16_t> indices, uint32_t entry_count) {
    uint32_t vertex_count = 0;
    for (uint16_t index : indices) vertex_count = std::max<uint32_t>(vertex_count, index + 1u);
    FifoVertexCache cache(vertex_count, entry_count);
    for (uint16_t index : indices) cache.Touch(index);
    return cache.MissCount();
}

double AverageCacheMissRatio(std::span<const uint16_t> indices, uint32_t entry_count) {
    size_t triangle_count = indices.size() / 3;
    if (triangle_count == 0) return 0.0;
    return static_cast<double>(CountCacheMisses(indices, entry_count)) / static_cast<double>(triangle_count);
}

}  // namespace geometry
