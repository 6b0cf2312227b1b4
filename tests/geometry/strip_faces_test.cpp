#include "geometry/strip_faces.h"

#include <gtest/gtest.h>

#include "geometry/messages.h"

namespace {

using geometry::BuildStripFaceTable;
using geometry::StripFaceTable;

constexpr uint32_t kNone = StripFaceTable::kNoNeighbour;

uint32_t NeighbourFace(const StripFaceTable& table, uint32_t face, uint32_t slot) {
    uint32_t half_edge = table.neighbours[3 * face + slot];
    return half_edge == kNone ? kNone : half_edge / 3;
}

TEST(StripFaceTable, FacesHoldingAnEdgeBothWaysAreNeighbours) {
    // 0-1-2 and 2-1-3 share 1-2 in opposite directions; 0-1-4 holds 0-1 the
    // same way as 0-1-2, so it is no neighbour of it (a strip between them
    // would flip one of them).
    std::vector<uint16_t> indices{0, 1, 2, 2, 1, 3, 5, 0, 1};
    testing::internal::CaptureStdout();
    StripFaceTable table = BuildStripFaceTable(indices);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(table.FaceCount(), 3u);
    EXPECT_EQ(table.vertex_count, 6u);
    // Ordered by smallest vertex: 0-1-2, then 5-0-1, then 2-1-3.
    EXPECT_EQ(table.faces[0].v, (std::array<uint16_t, 3>{0, 1, 2}));
    EXPECT_EQ(table.faces[1].v, (std::array<uint16_t, 3>{5, 0, 1}));
    EXPECT_EQ(table.faces[2].v, (std::array<uint16_t, 3>{2, 1, 3}));
    EXPECT_EQ(NeighbourFace(table, 0, 1), 2u);  // edge 1->2
    EXPECT_EQ(table.neighbours[3 * 0 + 1], 3 * 2 + 0);
    EXPECT_EQ(NeighbourFace(table, 2, 0), 0u);  // edge 2->1
    EXPECT_EQ(NeighbourFace(table, 0, 0), kNone);
    EXPECT_EQ(NeighbourFace(table, 1, 1), kNone);
}

TEST(StripFaceTable, DegenerateTrianglesAreLeftOut) {
    std::vector<uint16_t> indices{4, 4, 5, 0, 1, 2, 7, 8, 7};
    EXPECT_EQ(BuildStripFaceTable(indices).FaceCount(), 1u);
    EXPECT_EQ(BuildStripFaceTable({}).FaceCount(), 0u);
}

TEST(StripFaceTable, EdgeOfMoreThanTwoFacesIsReportedOncePerEdge) {
    const std::string line = std::string(geometry::msg::kEdgeSharedByMoreThanTwo) + "\n";
    struct Case {
        const char* what;
        std::vector<uint16_t> indices;
        std::string out;
    };
    const Case cases[] = {
        {"three faces on 0-1", {0, 1, 2, 1, 0, 3, 0, 1, 4}, line},
        {"four faces on 0-1", {0, 1, 2, 1, 0, 3, 0, 1, 4, 1, 0, 5}, line},
        {"two fins", {0, 1, 2, 1, 0, 3, 0, 1, 4, 2, 3, 5, 3, 2, 6, 2, 3, 7}, line + line},
        {"a duplicate and its twin", {0, 1, 2, 0, 1, 2, 2, 1, 3}, line},
        {"two faces the same way", {0, 1, 2, 0, 1, 3}, ""},
        {"a closed tetrahedron", {0, 1, 2, 0, 2, 3, 0, 3, 1, 1, 3, 2}, ""},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        StripFaceTable table = BuildStripFaceTable(c.indices);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.out) << c.what;
        // Pairing stays one to one.
        for (uint32_t h = 0; h < table.neighbours.size(); ++h) {
            if (table.neighbours[h] != kNone) {
                EXPECT_EQ(table.neighbours[table.neighbours[h]], h) << c.what;
            }
        }
    }
}

TEST(NextIndex, GivesTheThirdVertexOrReportsADerailedStep) {
    geometry::StripFace face{{4, 9, 2}};
    EXPECT_EQ(geometry::NextIndex(face, 9, 4), 2);
    EXPECT_EQ(geometry::NextIndex(face, 2, 9), 4);
    testing::internal::CaptureStdout();
    EXPECT_EQ(geometry::NextIndex(face, 9, 5), std::nullopt);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(geometry::msg::kTriangleLacksVertices) + "\n" +
                                                          geometry::msg::kDuplicateTriangleDerailed + "\n");
}

}  // namespace
