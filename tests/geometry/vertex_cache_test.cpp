#include "geometry/vertex_cache.h"

#include <gtest/gtest.h>

namespace {

using geometry::CountCacheMisses;

TEST(FifoVertexCache, AHitDoesNotRefreshAnEntry) {
    // 0 1 2 fill a cache of three; 0 hits; 3 pushes out 0 although it was
    // just used, so the last 0 misses again.
    std::vector<uint16_t> indices{0, 1, 2, 0, 2, 3, 1, 3, 0};
    EXPECT_EQ(CountCacheMisses(indices, 3), 5u);
    EXPECT_EQ(CountCacheMisses(indices, 4), 4u);
}

TEST(FifoVertexCache, MissesPerTriangle) {
    std::vector<uint16_t> quad{0, 1, 2, 2, 1, 3};
    EXPECT_DOUBLE_EQ(geometry::AverageCacheMissRatio(quad, 24), 2.0);
    EXPECT_DOUBLE_EQ(geometry::AverageCacheMissRatio({}, 24), 0.0);
    geometry::FifoVertexCache cache(4, 2);
    EXPECT_TRUE(cache.Touch(3));
    EXPECT_TRUE(cache.Touch(1));
    EXPECT_TRUE(cache.ContainsAfter(1, 1));
    EXPECT_FALSE(cache.ContainsAfter(3, 1));
}

}  // namespace
