#include <gtest/gtest.h>

#include "geometry/triangle_strips.h"

namespace {

using geometry::PrimitiveGroup;
using geometry::PrimitiveType;
using geometry::RenumberVertices;
using geometry::StripOptions;

TEST(RenumberVertices, NumbersVerticesByFirstUseAcrossGroups) {
    std::vector<PrimitiveGroup> groups{{PrimitiveType::List, {7, 3, 9, 9, 3, 4}},
                                       {PrimitiveType::Strip, {4, 9, 12, 7}}};
    std::vector<PrimitiveGroup> out;
    std::vector<uint16_t> old_of_new;
    ASSERT_TRUE(RenumberVertices(groups, 13, StripOptions{}, out, &old_of_new));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].type, PrimitiveType::List);
    EXPECT_EQ(out[0].indices, (std::vector<uint16_t>{0, 1, 2, 2, 1, 3}));
    EXPECT_EQ(out[1].type, PrimitiveType::Strip);
    EXPECT_EQ(out[1].indices, (std::vector<uint16_t>{3, 2, 4, 0}));
    // 7 became 0; the unused vertices 0-2, 5, 6, 8, 10 and 11 got no number.
    EXPECT_EQ(old_of_new, (std::vector<uint16_t>{7, 3, 9, 4, 12}));
}

TEST(RenumberVertices, RefusesAnIndexBeyondTheVertexCount) {
    std::vector<PrimitiveGroup> groups{{PrimitiveType::List, {0, 1, 5}}};
    std::vector<PrimitiveGroup> out{{PrimitiveType::List, {1, 2, 3}}};
    EXPECT_FALSE(RenumberVertices(groups, 5, StripOptions{}, out));
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(RenumberVertices(groups, 6, StripOptions{}, out));
}

TEST(RenumberVertices, KeepsRestartIndicesOfStrips) {
    StripOptions options;
    options.primitive_restart = true;
    options.restart_value = 0xFFFF;
    std::vector<PrimitiveGroup> groups{{PrimitiveType::Strip, {8, 9, 10, 0xFFFF, 10, 9, 11}}};
    std::vector<PrimitiveGroup> out;
    ASSERT_TRUE(RenumberVertices(groups, 12, options, out));
    EXPECT_EQ(out[0].indices, (std::vector<uint16_t>{0, 1, 2, 0xFFFF, 2, 1, 3}));
    // A new number that would read as a restart is refused.
    options.restart_value = 2;
    groups[0].indices = {8, 9, 10, 2, 10, 9, 11};
    EXPECT_FALSE(RenumberVertices(groups, 12, options, out));
}

}  // namespace
