#include "model/transform_writer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using host::Matrix3;
using host::Point3;

std::string Placement(const Matrix3& m, float master_scale = 1.0f) {
    xIo::eMemoryStream target(256);
    xIo::xSdl::eWriter w;
    w.Open(&target);
    model::WriteTransform(w, m, master_scale);
    w.Close();
    return std::string(target.Data());
}

TEST(WriteTransform, IdentityWritesNothing) {
    EXPECT_EQ(Placement(Matrix3()), "");
    Matrix3 nearly(Point3(1, 0.0000005f, 0), Point3(0, 1, 0), Point3(0, 0, 1), Point3(0.0000009f, 0, 0));
    EXPECT_EQ(Placement(nearly), "");
}

TEST(WriteTransform, TranslationOnlyIsAPositionInMetres) {
    Matrix3 m;
    m.SetTrans(Point3(100, -250, 3));
    EXPECT_EQ(Placement(m, 0.01f), "{Position 1 \t -2.5 \t 0.03\r\n}\r\n");
}

TEST(WriteTransform, RotationOnlyIsAnOrientation) {
    Matrix3 m = Matrix3::RotateZ(static_cast<float>(M_PI / 2));
    EXPECT_EQ(Placement(m), "{orientation\r\n\t0 \t 1 \t 0\r\n\t-1 \t 0 \t 0\r\n\t0 \t 0 \t 1\r\n}\r\n");
}

TEST(WriteTransform, BothAreAMatrix34WithFourRows) {
    Matrix3 m = Matrix3::RotateX(static_cast<float>(M_PI));
    m.SetTrans(Point3(1, 2, 3));
    EXPECT_EQ(Placement(m, 2.0f), "{matrix34\r\n\t1 \t 0 \t 0\r\n\t0 \t -1 \t 0\r\n\t0 \t 0 \t -1\r\n\t2 \t 4 \t 6\r\n}\r\n");
}

TEST(WriteTransform, NumbersAreRoundedToFourDecimalsHalfAwayFromZero) {
    EXPECT_EQ(model::RoundTo4Decimals(0.12345f), 0.1235f);
    EXPECT_EQ(model::RoundTo4Decimals(-0.12345f), -0.1235f);
    EXPECT_EQ(model::RoundTo4Decimals(0.00004f), 0.0f);
    EXPECT_EQ(model::RoundTo4Decimals(1.99999f), 2.0f);
    EXPECT_FALSE(std::signbit(model::RoundTo4Decimals(-0.00000004f)));
    Matrix3 m;
    m.SetTrans(Point3(0.123456f, 0, 0));
    EXPECT_EQ(Placement(m), "{Position 0.1235 \t 0 \t 0\r\n}\r\n");
}

}  // namespace
