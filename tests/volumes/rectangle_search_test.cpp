#include "volumes/rectangle_search.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using host::Point2;
using volumes::SmallestRectangle;

constexpr float kStep = 1.57f / 90.0f;

// The corners of a rectangle of half sizes (hx, hy) around center, turned
// by angle.
std::vector<Point2> Corners(Point2 center, float hx, float hy, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    std::vector<Point2> corners;
    for (auto [x, y] : {std::pair{-hx, -hy}, {hx, -hy}, {hx, hy}, {-hx, hy}})
        corners.push_back({center.x + x * c - y * s, center.y + x * s + y * c});
    return corners;
}

TEST(SmallestRectangle, AnAxisAlignedRectangleIsFoundAtAngleZero) {
    volumes::Rectangle2 r = SmallestRectangle(Corners({3, -2}, 2, 0.5f, 0));
    EXPECT_EQ(r.axis.x, 1.0f);
    EXPECT_EQ(r.axis.y, 0.0f);
    EXPECT_FLOAT_EQ(r.center.x, 3);
    EXPECT_FLOAT_EQ(r.center.y, -2);
    EXPECT_FLOAT_EQ(r.extent.x, 2);
    EXPECT_FLOAT_EQ(r.extent.y, 0.5f);
}

TEST(SmallestRectangle, ASquareKeepsTheFirstOfEqualAreas) {
    // At 89 steps (1.5526 rad, short of a quarter turn) the square's box is
    // larger; at 0 it is exact and nothing strictly smaller follows.
    volumes::Rectangle2 r = SmallestRectangle(Corners({0, 0}, 1, 1, 0));
    EXPECT_EQ(r.axis.x, 1.0f);
    EXPECT_EQ(r.axis.y, 0.0f);
    EXPECT_FLOAT_EQ(r.extent.x, 1);
    EXPECT_FLOAT_EQ(r.extent.y, 1);
}

TEST(SmallestRectangle, ATurnedRectangleIsFollowedToWithinOneStep) {
    for (float degrees : {10.0f, 30.0f, 45.0f, 60.0f, 85.0f}) {
        const float angle = degrees * 3.14159265f / 180.0f;
        volumes::Rectangle2 r = SmallestRectangle(Corners({5, 1}, 3, 1, angle));
        const float found = std::atan2(r.axis.y, r.axis.x);
        EXPECT_NEAR(found, angle, kStep) << degrees;
        EXPECT_NEAR(std::hypot(r.axis.x, r.axis.y), 1.0f, 1e-6f);
        // Along the long side: half the length and width, a little more for
        // the angle missed.
        EXPECT_NEAR(r.extent.x, 3, 3 * kStep) << degrees;
        EXPECT_NEAR(r.extent.y, 1, 3 * kStep) << degrees;
        EXPECT_NEAR(r.center.x, 5, 1e-4f) << degrees;
        EXPECT_NEAR(r.center.y, 1, 1e-4f) << degrees;
    }
}

TEST(SmallestRectangle, ARectangleTurnedByAQuarterIsFoundAcrossItsAxis) {
    // Its long side runs along y; the search never reaches a quarter turn,
    // so the axis stays at 0 with the long side across it.
    volumes::Rectangle2 r = SmallestRectangle(Corners({0, 0}, 1, 4, 0));
    EXPECT_EQ(r.axis.x, 1.0f);
    EXPECT_FLOAT_EQ(r.extent.x, 1);
    EXPECT_FLOAT_EQ(r.extent.y, 4);
}

TEST(SmallestRectangle, PointsOnOneLineTakeTheFirstAngleOfZeroArea) {
    volumes::Rectangle2 along_y = SmallestRectangle({{0, -1}, {0, 0}, {0, 3}});
    EXPECT_EQ(along_y.axis.x, 1.0f);
    EXPECT_FLOAT_EQ(along_y.extent.x, 0);
    EXPECT_FLOAT_EQ(along_y.extent.y, 2);
    EXPECT_FLOAT_EQ(along_y.center.y, 1);
    volumes::Rectangle2 one_point = SmallestRectangle({{2, 7}});
    EXPECT_EQ(one_point.axis.x, 1.0f);
    EXPECT_FLOAT_EQ(one_point.center.x, 2);
    EXPECT_FLOAT_EQ(one_point.center.y, 7);
    EXPECT_EQ(one_point.extent.x, 0.0f);
}

}  // namespace
