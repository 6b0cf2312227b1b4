#include <gtest/gtest.h>

#include <cmath>

#include "io/stream_memory.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"
#include "volumes/camera_writer.h"
#include "volumes/light_writer.h"
#include "volumes/preview_writer.h"

namespace {

using host::Matrix3;
using host::Point3;
using volumes::CameraRoll;
using volumes::ColorWord;

constexpr double kPi = 3.14159265358979323846;

// A right-handed camera frame looking along view without roll, up leaning
// to z (or y for a vertical view), as a look-at controller aims.
Matrix3 Aimed(Point3 view) {
    const Point3 z = host::Normalize(-view);
    Point3 x = host::CrossProd({0, 0, 1}, z);
    x = x.Length() < 1e-6f ? host::Normalize(host::CrossProd({0, 1, 0}, z)) : host::Normalize(x);
    return Matrix3(x, host::CrossProd(z, x), z, {3, 4, 5});
}

Matrix3 MirrorY() { return Matrix3::Scale({1, -1, 1}); }

TEST(CameraRoll, AnUnrolledCameraHasNone) {
    for (Point3 view : {Point3{0, 1, 0}, Point3{1, 1, -0.5f}, Point3{-0.3f, 0.2f, 0.9f}, Point3{0, -1, 0.0001f}}) {
        EXPECT_LE(std::fabs(CameraRoll(Aimed(view))), volumes::kRollTolerance) << view.x << " " << view.y;
        EXPECT_LE(std::fabs(CameraRoll(Aimed(view) * MirrorY())), volumes::kRollTolerance);
    }
}

TEST(CameraRoll, TheSignFollowsTheTurnAboutTheDirectionOfView) {
    // Rolling by +θ about the camera's own z axis, which points back from
    // the view, is a turn of −θ about the direction of view; the mirror of
    // the model's frame turns it back to +θ.
    for (double degrees : {5.0, 30.0, -70.0, 150.0}) {
        const float angle = static_cast<float>(degrees * kPi / 180.0);
        const Matrix3 rolled = Matrix3::RotateZ(angle) * Aimed({1, 2, -0.5f});
        EXPECT_NEAR(CameraRoll(rolled), -degrees * kPi / 180.0, 1e-5) << degrees;
        EXPECT_NEAR(CameraRoll(rolled * MirrorY()), degrees * kPi / 180.0, 1e-5) << degrees;
    }
}

TEST(CameraRoll, AVerticalViewMeasuresFromTheXAxis) {
    // Looking straight down with y along the world y axis: a quarter turn
    // from the x axis.
    EXPECT_NEAR(CameraRoll(Aimed({0, 0, -1})), -kPi / 2, 1e-6);
    EXPECT_NEAR(CameraRoll(Aimed({0, 0, -1}) * MirrorY()), kPi / 2, 1e-6);
    // Up along x: no roll, looking up or down.
    EXPECT_NEAR(CameraRoll(Matrix3({0, -1, 0}, {1, 0, 0}, {0, 0, 1}, {})), 0.0, 1e-9);
    EXPECT_NEAR(CameraRoll(Matrix3({0, 1, 0}, {1, 0, 0}, {0, 0, -1}, {})), 0.0, 1e-9);
    // Within 0.00001 of vertical the x axis is the reference; beyond it the
    // z axis, whose upright lies along −x here.
    EXPECT_NEAR(CameraRoll(Matrix3({1, 0, 0}, {0, 1, 0}, {0.000005f, 0, 1}, {})), -kPi / 2, 1e-6);
    EXPECT_NEAR(CameraRoll(Matrix3({1, 0, 0}, {0, 1, 0}, {0.00002f, 0, 1}, {})), kPi / 2, 1e-6);
}

TEST(ColorWord, ChannelsAreRoundedClampedAndPacked) {
    struct Case {
        host::Color color;
        uint32_t word;
    };
    for (const Case& c : {Case{{1, 0, 0}, 0xFFFF0000u}, Case{{1, 1, 1}, 0xFFFFFFFFu}, Case{{0, 0, 0}, 0xFF000000u},
                          Case{{0.5f, 0.25f, 0.75f}, 0xFF8040BFu}, Case{{-0.5f, 2.0f, 0.0019f}, 0xFF00FF00u},
                          Case{{0.0020f, 0.998f, 0.9999f}, 0xFF01FEFFu}}) {
        EXPECT_EQ(ColorWord(c.color), c.word) << c.color.r << " " << c.color.g << " " << c.color.b;
    }
}

// One model's preview groups written into memory.
struct Preview {
    std::unique_ptr<sim::Scene> scene;
    scene::Reporter report;
    xIo::eMemoryStream out{256};

    explicit Preview(std::string_view members) : scene(sim::SceneFromJson(members)), report(*scene) {}
    std::string Write(const host::Color& ambient) {
        host::Node* root = scene->GetRootNode()->GetChildNode(0);
        host::Matrix3 axis_fix;
        axis_fix.SetScale({1, -1, 1});
        volumes::VolumeSettings settings{*scene, report, 0, 0.01f, host::Inverse(axis_fix), root};
        std::vector<host::Node*> previews;
        for (int i = 0; i < root->NumberOfChildren(); ++i) previews.push_back(root->GetChildNode(i));
        xIo::xSdl::eWriter w;
        w.Open(&out);
        volumes::WritePreview(settings, previews, ambient, w);
        w.Close();
        return std::string(out.Data());
    }
};

constexpr const char* kTwoSuns = R"("nodes": [{"name": "M", "children": [
    {"name": "Show", "group": "head", "children": [
      {"name": "sun", "group": "member", "object": {"type": "light", "kind": "directional"}},
      {"name": "helper", "group": "member"},
      {"name": "moon", "group": "member", "object": {"type": "light", "kind": "directional", "color": [0, 0, 1]}},
      {"name": "outside", "object": {"type": "light", "kind": "omni"}}]}]}])";

TEST(WritePreview, OnlyTheFirstDirectionalLightOfAGroupCarriesTheAmbient) {
    Preview p(kTwoSuns);
    const std::string text = p.Write(host::Color(0.5f, 0, 0));
    EXPECT_EQ(text,
              "{\"preview\"\r\n"
              "\t{\"Show\"\r\n"
              "\t\t{lights\r\n"
              "\t\t\t{\"0\"\r\n"
              "\t\t\t\t{type directional}\r\n"
              "\t\t\t\t{direction 0 \t 0 \t -0.01}\r\n"
              "\t\t\t\t{ambient -8388608}\r\n"
              "\t\t\t}\r\n"
              "\t\t\t{\"1\"\r\n"
              "\t\t\t\t{type directional}\r\n"
              "\t\t\t\t{direction 0 \t 0 \t -0.01}\r\n"
              "\t\t\t\t{diffuse -16776961}\r\n"
              "\t\t\t}\r\n"
              "\t\t}\r\n"
              "\t}\r\n"
              "}\r\n");
    EXPECT_TRUE(qeltest::Boxes(*p.scene).empty());
}

TEST(WritePreview, ABlackAmbientIsWrittenByNoLight) {
    Preview p(kTwoSuns);
    const std::string text = p.Write(host::Color(0, 0, 0.000009f));
    EXPECT_EQ(text.find("ambient"), std::string::npos) << text;
}

}  // namespace
