// Welding: which corners share a vertex, at the edges of the tolerances,
// and that the result depends on the corner order alone.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "geometry/vertex_welder.h"
#include "mesh_export.h"

namespace {

using geometry::MeshVertex;
using geometry::VertexWelder;

MeshVertex Base() {
    MeshVertex v;
    v.position = {1, 2, 3};
    v.normal = {0, 0, 1};
    v.uv[0] = {0.25f, 0.5f};
    v.uv[1] = {0.75f, 0.125f};
    v.group = 2;
    v.smoothing = 1;
    v.colour = 0xFF808080u;
    v.tangent = {1, 0, 0, -1};
    v.weights[0] = 0.75f;
    v.weights[1] = 0.25f;
    v.boneIndices[0] = 1;
    v.boneIndices[1] = 2;
    v.format = geometry::kFormatPosition | geometry::kFormatNormal | geometry::kFormatColour | 0x20 |
               geometry::kFormatTangent | (2u << geometry::kFormatWeightShift);
    return v;
}

size_t Welded(const MeshVertex& a, const MeshVertex& b) {
    VertexWelder welder(4);
    welder.Add(a);
    welder.Add(b);
    return welder.Count();
}

TEST(Welding, ToleranceFieldsMergeWithin0001AndStayApartBeyond) {
    struct Field {
        const char* name;
        std::function<void(MeshVertex&, float)> nudge;
    } fields[] = {
        {"position x", [](MeshVertex& v, float d) { v.position.x += d; }},
        {"position z", [](MeshVertex& v, float d) { v.position.z += d; }},
        {"uv 0 u", [](MeshVertex& v, float d) { v.uv[0].x += d; }},
        {"uv 1 v", [](MeshVertex& v, float d) { v.uv[1].y += d; }},
        {"normal y", [](MeshVertex& v, float d) { v.normal.y += d; }},
        {"tangent w", [](MeshVertex& v, float d) { v.tangent.w += d; }},
    };
    for (const Field& f : fields) {
        for (float sign : {1.0f, -1.0f}) {
            MeshVertex near = Base(), far = Base();
            f.nudge(near, 0.0005f * sign);
            f.nudge(far, 0.002f * sign);
            EXPECT_EQ(Welded(Base(), near), 1u) << f.name;
            EXPECT_EQ(Welded(Base(), far), 2u) << f.name;
        }
    }
}

TEST(Welding, ExactFieldsNeverMergeWhenTheyDiffer) {
    struct Field {
        const char* name;
        std::function<void(MeshVertex&)> change;
    } fields[] = {
        {"group", [](MeshVertex& v) { v.group = 3; }},
        {"smoothing group", [](MeshVertex& v) { v.smoothing = 2; }},
        {"colour", [](MeshVertex& v) { v.colour = 0xFF808081u; }},
        {"bone index", [](MeshVertex& v) { v.boneIndices[2] = 1; }},
        {"weight", [](MeshVertex& v) { v.weights[1] = std::nextafter(0.25f, 1.0f); }},
    };
    for (const Field& f : fields) {
        MeshVertex other = Base();
        f.change(other);
        EXPECT_EQ(Welded(Base(), other), 2u) << f.name;
    }
}

TEST(Welding, FieldsOutsideTheFormatAreNotCompared) {
    MeshVertex a = Base(), b = Base();
    a.format = b.format = geometry::kFormatPosition | geometry::kFormatNormal;
    b.tangent = {0, 1, 0, 1};
    b.colour = 0;
    b.weights[0] = 0.5f;
    b.boneIndices[0] = 7;
    EXPECT_EQ(Welded(a, b), 1u);
}

TEST(Welding, EachCornerTakesTheEarliestEqualVertex) {
    auto at = [](float x) {
        MeshVertex v = Base();
        v.position.x = x;
        return v;
    };
    VertexWelder welder(8);
    EXPECT_EQ(welder.Add(at(0.0f)), 0u);
    EXPECT_EQ(welder.Add(at(0.0008f)), 0u);   // near vertex 0
    EXPECT_EQ(welder.Add(at(0.0016f)), 1u);   // near that corner, but not near vertex 0: a vertex of its own
    EXPECT_EQ(welder.Add(at(0.0009f)), 0u);   // near both vertices: the earlier wins
    EXPECT_EQ(welder.Add(at(0.0008f)), 0u);   // the same corner again
    EXPECT_EQ(welder.Add(at(0.0024f)), 1u);
    EXPECT_EQ(welder.Count(), 2u);
    // Across the boundary of the position grid's cells it is the same.
    VertexWelder grid(8);
    EXPECT_EQ(grid.Add(at(0.00795f)), 0u);
    EXPECT_EQ(grid.Add(at(0.00805f)), 0u);
    EXPECT_EQ(grid.Add(at(-0.0004f)), 1u);
    EXPECT_EQ(grid.Add(at(0.0004f)), 1u);
}

TEST(Welding, ValuesThatAreNotNumbersWeldOnlyWithTheirOwnBits) {
    MeshVertex a = Base(), b = Base();
    a.position.x = b.position.x = std::numeric_limits<float>::quiet_NaN();
    MeshVertex c = Base();
    c.position.y = std::numeric_limits<float>::infinity();
    VertexWelder welder(4);
    EXPECT_EQ(welder.Add(a), 0u);
    EXPECT_EQ(welder.Add(b), 0u);
    EXPECT_EQ(welder.Add(Base()), 1u);
    EXPECT_EQ(welder.Add(c), 2u);
    EXPECT_EQ(welder.Add(c), 2u);
}

TEST(Welding, ManyCornersMatchABruteForceOfTheSameRule) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> cell(0, 40);
    std::uniform_real_distribution<float> jitter(-0.0012f, 0.0012f);
    std::vector<MeshVertex> corners;
    for (int i = 0; i < 3000; ++i) {
        MeshVertex v = Base();
        v.position = {cell(random) * 0.004f + jitter(random), cell(random) * 0.004f, 0};
        v.smoothing = 1u << (i % 2);
        corners.push_back(v);
    }
    VertexWelder welder(16);  // grows on the way
    std::vector<MeshVertex> made;
    for (const MeshVertex& corner : corners) {
        uint32_t expected = uint32_t(made.size());
        for (uint32_t i = 0; i < made.size() && expected == made.size(); ++i)
            if (geometry::WeldEqual(made[i], corner)) expected = i;
        if (expected == made.size()) made.push_back(corner);
        ASSERT_EQ(welder.Add(corner), expected);
    }
    EXPECT_EQ(welder.Count(), made.size());
}

// The same through an export: two triangles side by side in one plane.
TEST(Welding, CornersOfAnExportMergeAtTheToleranceEdges) {
    struct Case {
        const char* second_x;
        const char* smoothing;
        size_t vertices;
    } cases[] = {{"0.0005", "0, 0", 5}, {"0.002", "0, 0", 6}, {"0", "1, 2", 6}};
    for (const Case& c : cases) {
        geotest::MeshExport e(std::string(R"("nodes": [{"name": "M", "props": "Model=units/m\r\n", "children": [
            {"name": "pair", "props": "Poly\r\n", "object": {"type": "mesh",
              "vertices": [[0,0,0], [1,0,0], [0,1,0], [)") + c.second_x + R"(,0,0], [-1,0,0], [0,-1,0]],
              "faces": [[0,1,2], [3,4,5]], "smoothing": [)" + c.smoothing + "]}}]}]");
        e.Run();
        EXPECT_EQ(e.Mesh("units/m/.mesh").vertices.size(), c.vertices) << c.second_x << " " << c.smoothing;
    }
}

}  // namespace
