#include "geometry/triangle_strips.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "geometry/messages.h"
#include "geometry/strip_validation.h"
#include "geometry/vertex_cache.h"
#include "support/test_meshes.h"

namespace {

using geometry::GenerateStrips;
using geometry::PrimitiveGroup;
using geometry::PrimitiveType;
using geometry::StripOptions;
using geometry::Triangle;
using Indices = std::vector<uint16_t>;

StripOptions ListsOnly() {
    StripOptions options;
    options.lists_only = true;
    return options;
}

// The non-degenerate triangles of a list, exactly as written, sorted.
std::vector<Triangle> SortedTriangles(const Indices& indices) {
    std::vector<Triangle> triangles;
    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
        Triangle t{indices[i], indices[i + 1], indices[i + 2]};
        if (!geometry::IsDegenerate(t)) triangles.push_back(t);
    }
    std::sort(triangles.begin(), triangles.end());
    return triangles;
}

// A triangle rotated to start at its smallest index: the same triangle with
// the same winding compares equal.
Triangle Canonical(Triangle t) {
    std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
    return t;
}

std::vector<Triangle> SortedCanonical(std::vector<Triangle> triangles) {
    for (Triangle& t : triangles) t = Canonical(t);
    std::sort(triangles.begin(), triangles.end());
    return triangles;
}

std::vector<Triangle> Drawn(const std::vector<PrimitiveGroup>& groups, const StripOptions& options) {
    std::vector<Triangle> triangles;
    const uint16_t* restart = options.primitive_restart ? &options.restart_value : nullptr;
    for (const PrimitiveGroup& group : groups)
        geometry::ForEachTriangle(group, group.type == PrimitiveType::Strip ? restart : nullptr,
                                  [&](const Triangle& t) { triangles.push_back(t); });
    return triangles;
}

// Optimises with stdout captured (meshes with fins print a line per fin).
bool Optimise(const Indices& input, const StripOptions& options, std::vector<PrimitiveGroup>& groups) {
    testing::internal::CaptureStdout();
    bool ok = GenerateStrips(input, options, groups, true);
    testing::internal::GetCapturedStdout();
    return ok;
}

TEST(GenerateStrips, TwoTrianglesSharingAnEdgeKeepTheirWinding) {
    Indices input{0, 1, 2, 2, 1, 3};
    std::vector<PrimitiveGroup> groups;
    ASSERT_TRUE(GenerateStrips(input, ListsOnly(), groups, true));
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].type, PrimitiveType::List);
    EXPECT_EQ(groups[0].IndexCount(), 6u);
    EXPECT_EQ(SortedTriangles(groups[0].indices), SortedTriangles(input));
}

TEST(GenerateStrips, DegenerateTrianglesAreDropped) {
    Indices input{0, 1, 2, 4, 4, 5, 2, 1, 3, 6, 7, 6};
    std::vector<PrimitiveGroup> groups;
    ASSERT_TRUE(GenerateStrips(input, ListsOnly(), groups, true));
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].IndexCount(), 6u);
    EXPECT_EQ(SortedTriangles(groups[0].indices), SortedTriangles({0, 1, 2, 2, 1, 3}));
}

TEST(GenerateStrips, NothingToDrawIsASuccessWithNoGroups) {
    for (const Indices& input : {Indices{}, Indices{3, 3, 4, 5, 6, 5}}) {
        for (bool lists_only : {true, false}) {
            StripOptions options;
            options.lists_only = lists_only;
            std::vector<PrimitiveGroup> groups{{PrimitiveType::List, {0, 1, 2}}};
            EXPECT_TRUE(GenerateStrips(input, options, groups, true));
            EXPECT_TRUE(groups.empty());
        }
    }
}

TEST(GenerateStrips, RefusesBadInput) {
    std::vector<PrimitiveGroup> groups;
    EXPECT_FALSE(GenerateStrips(Indices{0, 1, 2, 3}, ListsOnly(), groups, true));
    EXPECT_TRUE(groups.empty());
    // A restart index that is also a vertex of the input.
    StripOptions options;
    options.primitive_restart = true;
    options.restart_value = 2;
    EXPECT_FALSE(GenerateStrips(Indices{0, 1, 2, 2, 1, 3}, options, groups, true));
    options.restart_value = 0xFFFF;
    EXPECT_TRUE(GenerateStrips(Indices{0, 1, 2, 2, 1, 3}, options, groups, true));
}

TEST(GenerateStrips, TakesTheHighestIndices) {
    Indices input{65535, 65534, 65533, 65533, 65534, 65532, 0, 65535, 65533};
    std::vector<PrimitiveGroup> groups;
    ASSERT_TRUE(GenerateStrips(input, ListsOnly(), groups, true));
    EXPECT_EQ(SortedTriangles(groups[0].indices), SortedTriangles(input));
}

TEST(GenerateStrips, ReportsAnEdgeOfMoreThanTwoFacesAndGoesOn) {
    // Three faces on the edge 0-1; all three come back.
    Indices input{0, 1, 2, 1, 0, 3, 0, 1, 4};
    std::vector<PrimitiveGroup> groups;
    testing::internal::CaptureStdout();
    bool ok = GenerateStrips(input, ListsOnly(), groups, true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              std::string(geometry::msg::kEdgeSharedByMoreThanTwo) + "\n");
    ASSERT_TRUE(ok);
    EXPECT_EQ(SortedTriangles(groups[0].indices), SortedTriangles(input));
}

TEST(GenerateStrips, ShortStripsBecomeLeftoversAndAreKept) {
    Indices input = qeltest::GridMesh(3, 2);
    StripOptions options;
    options.min_strip_length = 100;  // no strip is that long
    for (bool lists_only : {true, false}) {
        options.lists_only = lists_only;
        std::vector<PrimitiveGroup> groups;
        ASSERT_TRUE(GenerateStrips(input, options, groups, true));
        ASSERT_EQ(groups.size(), 1u);
        EXPECT_EQ(groups[0].type, PrimitiveType::List);
        EXPECT_EQ(SortedTriangles(groups[0].indices), SortedTriangles(input));
    }
}

TEST(GenerateStrips, StripsModeJoinsStripsAsAsked) {
    Indices input = qeltest::GridMesh(8, 8);
    const struct {
        const char* what;
        bool stitch;
        bool restart;
        uint32_t min_strip_length;
    } cases[] = {
        {"stitched with degenerate joins", true, false, 0},
        {"stitched with restart indices", true, true, 0},
        {"a group per strip", false, false, 0},
        {"short strips as a list", false, false, 3},
    };
    for (const auto& c : cases) {
        StripOptions options;
        options.stitch_strips = c.stitch;
        options.primitive_restart = c.restart;
        options.restart_value = 0xFFFF;
        options.min_strip_length = c.min_strip_length;
        std::vector<PrimitiveGroup> groups;
        ASSERT_TRUE(GenerateStrips(input, options, groups, true)) << c.what;
        EXPECT_EQ(SortedCanonical(Drawn(groups, options)), SortedCanonical(SortedTriangles(input))) << c.what;
        auto strips = std::count_if(groups.begin(), groups.end(),
                                    [](const PrimitiveGroup& g) { return g.type == PrimitiveType::Strip; });
        if (c.stitch)
            EXPECT_EQ(strips, 1) << c.what;
        else
            EXPECT_GT(strips, 1) << c.what;
        bool has_restart = std::find(groups[0].indices.begin(), groups[0].indices.end(), 0xFFFF) !=
                           groups[0].indices.end();
        EXPECT_EQ(has_restart, c.restart) << c.what;
        for (const PrimitiveGroup& group : groups) {
            if (group.type == PrimitiveType::Strip) {
                EXPECT_GE(Drawn({group}, options).size(), c.min_strip_length) << c.what;
            }
        }
    }
}

// Random meshes with every kind of trouble: holes, reversed faces, repeated
// faces, degenerate faces, fins, and a soup over few vertices.
Indices RandomMesh(std::mt19937& random) {
    Indices mesh = qeltest::GridMesh(2 + random() % 12, 1 + random() % 12);
    Indices out;
    for (size_t i = 0; i < mesh.size(); i += 3) {
        uint32_t roll = random() % 20;
        if (roll == 0) continue;  // hole
        Indices t{mesh[i], mesh[i + 1], mesh[i + 2]};
        if (roll == 1) std::swap(t[0], t[1]);
        if (roll == 2) t[2] = t[0];
        out.insert(out.end(), t.begin(), t.end());
        if (roll == 3) out.insert(out.end(), t.begin(), t.end());
        if (roll == 4) out.insert(out.end(), {t[0], t[1], static_cast<uint16_t>(200 + random() % 10)});
    }
    if (random() % 4 == 0)
        for (int i = 0; i < 40; ++i) out.push_back(static_cast<uint16_t>(random() % 9));
    while (out.size() % 3) out.pop_back();
    return qeltest::ShuffleTriangles(out, random());
}

TEST(GenerateStrips, GivesBackEachTriangleOfRandomMeshesOnce) {
    std::mt19937 random(77);
    for (int round = 0; round < 200; ++round) {
        Indices input = RandomMesh(random);
        std::vector<PrimitiveGroup> groups;
        ASSERT_TRUE(Optimise(input, ListsOnly(), groups)) << "round " << round;
        ASSERT_EQ(groups.size(), 1u);
        // Lists: each triangle exactly as it was written.
        EXPECT_EQ(SortedTriangles(groups[0].indices), SortedTriangles(input)) << "round " << round;

        StripOptions strips;
        strips.stitch_strips = round % 2 == 0;
        strips.min_strip_length = round % 3;
        ASSERT_TRUE(Optimise(input, strips, groups)) << "round " << round;
        EXPECT_EQ(SortedCanonical(Drawn(groups, strips)), SortedCanonical(SortedTriangles(input)))
            << "round " << round;
    }
}

TEST(GenerateStrips, MeetsTheCacheTargetsOnKnownMeshes) {
    // Vertices transformed per triangle through a 24-entry FIFO cache.
    const struct {
        const char* what;
        Indices mesh;
        double acmr;
    } cases[] = {
        {"grid", qeltest::GridMesh(255, 255), 0.56},
        {"shuffled grid", qeltest::ShuffleTriangles(qeltest::GridMesh(255, 255), 12345), 0.57},
        {"sphere", qeltest::UvSphereMesh(256, 196), 0.56},
        {"irregular", qeltest::IrregularMesh(60, 60, 5000, 2024), 0.71},
    };
    for (const auto& c : cases) {
        std::vector<PrimitiveGroup> groups;
        ASSERT_TRUE(GenerateStrips(c.mesh, ListsOnly(), groups, false)) << c.what;
        EXPECT_LE(geometry::AverageCacheMissRatio(groups[0].indices, 24), c.acmr) << c.what;
    }
}

TEST(GenerateStrips, AnOddCacheSizeDoesAtLeastAsWellAsTheEvenSizeBelow) {
    Indices grid = qeltest::GridMesh(64, 64);
    for (uint32_t cache_size : {15u, 23u, 25u}) {
        std::vector<PrimitiveGroup> odd, even;
        StripOptions options = ListsOnly();
        options.cache_size = cache_size;
        ASSERT_TRUE(GenerateStrips(grid, options, odd, false));
        options.cache_size = cache_size - 1;
        ASSERT_TRUE(GenerateStrips(grid, options, even, false));
        EXPECT_LE(geometry::AverageCacheMissRatio(odd[0].indices, cache_size),
                  geometry::AverageCacheMissRatio(even[0].indices, cache_size))
            << cache_size;
    }
}

TEST(StripOptions, ModuleOptionsStartAtTheirDefaultsAndServeTheShortCalls) {
    const StripOptions& options = geometry::ModuleStripOptions();
    EXPECT_EQ(options.cache_size, 24u);
    EXPECT_TRUE(options.stitch_strips);
    EXPECT_EQ(options.min_strip_length, 0u);
    EXPECT_FALSE(options.lists_only);
    EXPECT_FALSE(options.primitive_restart);
    EXPECT_EQ(options.restart_value, 0);

    Indices input = qeltest::GridMesh(4, 4);
    std::vector<PrimitiveGroup> groups;
    ASSERT_TRUE(GenerateStrips(input, groups, true));
    EXPECT_EQ(groups[0].type, PrimitiveType::Strip);
    geometry::SetListsOnly(true);
    geometry::SetCacheSize(12);
    ASSERT_TRUE(GenerateStrips(input, groups, true));
    EXPECT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].type, PrimitiveType::List);
    EXPECT_EQ(options.cache_size, 12u);
    geometry::SetStitchStrips(false);
    geometry::SetMinStripLength(2);
    geometry::SetPrimitiveRestart(true);
    geometry::SetRestartValue(0xFFFF);
    EXPECT_FALSE(options.stitch_strips);
    EXPECT_EQ(options.min_strip_length, 2u);
    EXPECT_TRUE(options.primitive_restart);
    EXPECT_EQ(options.restart_value, 0xFFFF);

    std::vector<PrimitiveGroup> renumbered;
    groups = {{PrimitiveType::Strip, {5, 6, 0xFFFF, 7}}};
    ASSERT_TRUE(geometry::RenumberVertices(groups, 8, renumbered));
    EXPECT_EQ(renumbered[0].indices, (Indices{0, 1, 0xFFFF, 2}));

    geometry::SetCacheSize(24);
    geometry::SetStitchStrips(true);
    geometry::SetMinStripLength(0);
    geometry::SetListsOnly(false);
    geometry::SetPrimitiveRestart(false);
    geometry::SetRestartValue(0);
}

}  // namespace
