#include "volumes/convexity.h"

#include <gtest/gtest.h>

#include "mesh_helpers.h"
#include "sim/primitives.h"

namespace {

using qeltest::MeshOf;
using qeltest::UnitCube;

TEST(IsConvex, ClosedConvexMeshesPass) {
    EXPECT_TRUE(volumes::IsConvex(*UnitCube()));
    // A tetrahedron, and a cube corner pulled outward along its diagonal.
    EXPECT_TRUE(volumes::IsConvex(*MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                                          {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}})));
    // A subdivided box: many vertices on each face plane, none in front.
    EXPECT_TRUE(volumes::IsConvex(*sim::MakeTriMesh(std::make_shared<const sim::MeshData>(sim::BuildBox(2, 4, 6, 3, 2, 2)))));
    // An empty mesh and a single triangle have nothing in front of any face.
    EXPECT_TRUE(volumes::IsConvex(*MeshOf({}, {})));
    EXPECT_TRUE(volumes::IsConvex(*MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}})));
}

TEST(IsConvex, AVertexInFrontOfAFaceFails) {
    // The corner pushed into the cube folds the faces around it inward.
    EXPECT_FALSE(volumes::IsConvex(*UnitCube({0.5f, 0.5f, 0.5f})));
    // A tetrahedron whose apex is dented through its base.
    EXPECT_FALSE(volumes::IsConvex(*MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.2f, 0.2f, -0.5f}},
                                           {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}})));
}

TEST(IsConvex, ToleranceIsTheCosineToTheFaceNormal) {
    // The corner (1, 1, 1) lowered by h folds the top inward: vertex 7
    // stands in front of the top triangle (4, 5, 6) at a cosine of about h.
    // Raised instead, the top becomes a ridge and stays convex.
    EXPECT_TRUE(volumes::IsConvex(*UnitCube({1, 1, 0.991f})));
    EXPECT_FALSE(volumes::IsConvex(*UnitCube({1, 1, 0.988f})));
    EXPECT_TRUE(volumes::IsConvex(*UnitCube({1, 1, 1.2f})));
}

TEST(IsConvex, DegenerateFacesAndRepeatedPointsNeverFail) {
    // A face with two corners at one place has no normal; a vertex lying on
    // p0 has no direction.
    EXPECT_TRUE(volumes::IsConvex(*MeshOf({{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {5, 5, 5}}, {{0, 1, 2}})));
    EXPECT_TRUE(volumes::IsConvex(*MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}}, {{0, 1, 2}})));
}

}  // namespace
