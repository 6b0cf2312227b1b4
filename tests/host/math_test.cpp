#include <gtest/gtest.h>

#include <cmath>

#include "host/math_box.h"
#include "host/math_quat.h"
#include "host/time.h"

namespace {

using host::Matrix3;
using host::Point3;
using host::Quat;

constexpr float kPi = 3.14159265358979f;

TEST(Matrix3Test, InverseUndoesAffineMatricesIncludingShearAndMirror) {
    const Matrix3 cases[] = {
        Matrix3({2, 0, 0}, {0, 3, 0}, {0, 0, 0.5f}, {1, 2, 3}),                // non-uniform scale
        Matrix3({1, 0.5f, 0}, {0.2f, 1, 0.3f}, {0, -0.4f, 2}, {-5, 7, 0.25f}),  // sheared
        Matrix3::RotateAxis(Normalize(Point3(1, 2, 3)), 0.7f) * Matrix3::Scale({1, -1, 1}) *
            Matrix3::Translation({10, -20, 30}),  // mirrored
        Matrix3({1e-3f, 0, 0}, {0, 1e3f, 0}, {0, 0, 1}, {4, 5, 6}),
    };
    for (const Matrix3& m : cases) {
        EXPECT_TRUE((m * host::Inverse(m)).Equals(Matrix3(), 1e-4f));
        EXPECT_TRUE((host::Inverse(m) * m).Equals(Matrix3(), 1e-4f));
        const Point3 p(3, -4, 5);
        EXPECT_TRUE((p * m * host::Inverse(m)).Equals(p, 1e-3f));
    }
}

TEST(Matrix3Test, InverseOfSingularMatrixIsIdentity) {
    const Matrix3 flat({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {1, 2, 3});
    const Matrix3 inverse = host::Inverse(flat);
    EXPECT_EQ(inverse, Matrix3());
}

TEST(Matrix3Test, ParityIsOddExactlyForAnOddNumberOfMirroredAxes) {
    struct Case {
        Point3 scale;
        bool parity;
    } cases[] = {{{1, 1, 1}, false}, {{-1, 1, 1}, true}, {{1, -1, 1}, true}, {{1, 1, -2}, true},
                 {{-1, -1, 1}, false}, {{-1, -1, -1}, true}, {{0.1f, 5, 3}, false}};
    for (const Case& c : cases) {
        const Matrix3 m = Matrix3::Scale(c.scale) * Matrix3::RotateZ(1.0f) * Matrix3::Translation({1, 2, 3});
        EXPECT_EQ(m.Parity(), c.parity) << c.scale.x << " " << c.scale.y << " " << c.scale.z;
    }
}

TEST(Matrix3Test, NoScaleKeepsRotationTranslationAndMirror) {
    const Matrix3 rotation = Matrix3::RotateAxis(Normalize(Point3(0, 1, 1)), 0.9f);
    const Matrix3 m = Matrix3::Scale({2, 3, -4}) * rotation * Matrix3::Translation({7, 8, 9});
    const Matrix3 n = host::NoScale(m);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(n.GetRow(i).Length(), 1.0f, 1e-6f);
    EXPECT_TRUE(n.GetTrans().Equals({7, 8, 9}, 0));
    EXPECT_TRUE(n.Parity());
    EXPECT_TRUE(n.GetRow(0).Equals(rotation.GetRow(0), 1e-6f));
    EXPECT_TRUE(n.GetRow(2).Equals(-rotation.GetRow(2), 1e-6f));
    EXPECT_TRUE(n.GetIdentFlags() & host::kScaleIdent);
}

TEST(Matrix3Test, ProductAppliesLeftOperandFirstAndSharesFlags) {
    const Matrix3 move = Matrix3::Translation({1, 0, 0});
    const Matrix3 turn = Matrix3::RotateZ(kPi / 2);
    // Row vectors: the x axis turns to +y under a positive turn about z.
    EXPECT_TRUE((Point3(1, 0, 0) * turn).Equals({0, 1, 0}, 1e-6f));
    EXPECT_TRUE((Point3(0, 0, 0) * (move * turn)).Equals({0, 1, 0}, 1e-6f));
    EXPECT_TRUE((Point3(0, 0, 0) * (turn * move)).Equals({1, 0, 0}, 1e-6f));
    EXPECT_EQ((move * turn).GetIdentFlags(), host::kScaleIdent);
    EXPECT_TRUE(Matrix3().IsIdentity());
}

TEST(QuatTest, QuaternionOfAPositiveTurnHasTheNegatedAxis) {
    struct Case {
        Point3 axis;
        float angle;
    } cases[] = {{{0, 0, 1}, 0.5f}, {{1, 0, 0}, 2.0f}, {{0, 1, 0}, -1.2f}, {Normalize(Point3(1, -2, 3)), 3.0f},
                 {Normalize(Point3(-1, 1, 0.5f)), 3.1f}, {{1, 0, 0}, kPi}};
    for (const Case& c : cases) {
        const Matrix3 m = Matrix3::RotateAxis(c.axis, c.angle);
        Quat q(m);
        const float s = std::sin(c.angle / 2), w = std::cos(c.angle / 2);
        const Quat expected(-c.axis.x * s, -c.axis.y * s, -c.axis.z * s, w);
        EXPECT_TRUE(q.Equals(expected, 1e-5f)) << q.x << " " << q.y << " " << q.z << " " << q.w;
        EXPECT_TRUE(q.MakeMatrix().Equals(m, 1e-5f));
    }
}

TEST(QuatTest, EqualsTreatsNegatedQuaternionAsTheSameRotation) {
    Quat q(0.1f, -0.2f, 0.3f, 0.9f);
    q.Normalize();
    struct Case {
        Quat other;
        bool equal;
    } cases[] = {{q, true},
                 {-q, true},
                 {Quat(q.x + 2e-6f, q.y, q.z, q.w), true},
                 {Quat(-q.x, -q.y, -q.z, -q.w + 2e-6f), true},
                 {Quat(q.x + 2e-4f, q.y, q.z, q.w), false},
                 {Quat(-q.x, q.y, q.z, q.w), false},  // the inverse rotation
                 {Quat(q.x, q.y, q.z, -q.w), false}};
    for (const Case& c : cases) EXPECT_EQ(q.Equals(c.other, 1e-5f), c.equal) << c.other.x << " " << c.other.w;
}

TEST(QuatTest, NormalizeScalesToUnitAndZeroBecomesIdentity) {
    Quat q(0, 3, 0, 4);
    q.Normalize();
    EXPECT_TRUE(q.Equals(Quat(0, 0.6f, 0, 0.8f), 1e-6f));
    Quat zero(0, 0, 0, 0);
    zero.Normalize();
    EXPECT_EQ(zero, Quat());
}

TEST(QuatTest, SlerpTakesTheShortArc) {
    const Quat a(Matrix3::RotateZ(0.2f));
    const Quat b = -Quat(Matrix3::RotateZ(0.6f));  // same rotation, other hemisphere
    const Quat mid = host::Slerp(a, b, 0.5f);
    EXPECT_TRUE(mid.Equals(Quat(Matrix3::RotateZ(0.4f)), 1e-5f));
}

TEST(Box3Test, InitIncludeAndUnion) {
    host::Box3 box;
    EXPECT_TRUE(box.IsEmpty());
    EXPECT_EQ(box.pmin.x, 1e30f);
    EXPECT_EQ(box.pmax.z, -1e30f);
    const Point3 points[] = {{1, 2, 3}, {-1, 5, 0}};
    const Matrix3 move = Matrix3::Translation({10, 0, 0});
    box.IncludePoints(points, 2, &move);
    EXPECT_TRUE(box.pmin.Equals({9, 2, 0}, 0));
    EXPECT_TRUE(box.pmax.Equals({11, 5, 3}, 0));
    host::Box3 other;
    box += other;  // an empty box adds nothing
    EXPECT_TRUE(box.pmin.Equals({9, 2, 0}, 0));
    other += Point3(0, 0, 10);
    box += other;
    EXPECT_TRUE(box.pmin.Equals({0, 0, 0}, 0));
    EXPECT_TRUE(box.pmax.Equals({11, 5, 10}, 0));
    box.Init();
    EXPECT_TRUE(box.IsEmpty());
}

TEST(IntervalTest, IntersectionAndEmptiness) {
    host::Interval forever = host::Interval::Forever();
    EXPECT_TRUE(forever.InInterval(0));
    EXPECT_TRUE(host::Interval::Never().Empty());
    host::Interval a(0, 100);
    a &= host::Interval(50, 200);
    EXPECT_EQ(a, host::Interval(50, 100));
    a &= host::Interval(150, 200);
    EXPECT_TRUE(a.Empty());
    EXPECT_FALSE(a.InInterval(150));
}

}  // namespace
