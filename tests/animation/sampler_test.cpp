// The sampler against simulated scenes: what each frame records, the
// boundary rule, the thresholds against the last record, visibility, the
// handedness check, reverse playback, the root's axis fix and anim.txt.
#include "animation/animation_sampler.h"

#include <gtest/gtest.h>

#include "animation/animation_ranges.h"
#include "animation_fixture.h"
#include "host/math_quat.h"

namespace {

using animation::AnimationRange;
using animation::AnimationSample;
using Strings = std::vector<std::string>;

// A root with one child "arm"; arm_members are the members of arm's node
// object (its keys, transform, visibility).
std::string Scene(const std::string& arm_members, const std::string& root_members = R"("name": "Root")") {
    return R"("time": {"start": 0, "end": 100}, "nodes": [{)" + root_members +
           R"(, "children": [{"name": "arm")" + (arm_members.empty() ? "" : ", " + arm_members) + "}]}]";
}

// Samples bone 1 (arm) over the given animations; every animation of the
// list is present and has no selection set.
struct Sampled : animtest::Fixture {
    Sampled(const std::string& members, std::vector<std::pair<int32_t, int32_t>> ranges)
        : animtest::Fixture(members) {
        for (auto [start, end] : ranges) {
            AnimationRange a;
            a.name = std::string("a").append(std::to_string(animation.animations.size()));
            a.start = start;
            a.end = end;
            a.fileName = a.name;
            a.present = true;
            animation.animations.push_back(a);
        }
        EXPECT_TRUE(animation::InitFrameTable(settings, animation, "Root", 2));
    }
    void Run(const char* node = "arm", int32_t bone = 1) {
        animation::SampleNodeAnimation(settings, animation, Node(node), bone, list);
    }
    /// The sample of bone at frame of the first animation (or of another).
    const AnimationSample& At(int32_t frame, int32_t bone = 1, size_t animation_index = 0) {
        return animation.frames.Frames(animation_index).At(frame, bone);
    }
    std::vector<int> Flags(int32_t from, int32_t to, int32_t bone = 1, size_t animation_index = 0) {
        std::vector<int> flags;
        for (int32_t f = from; f <= to; ++f) flags.push_back(At(f, bone, animation_index).flags);
        return flags;
    }
};

TEST(Sampler, AStillBoneHasRecordsAtTheFirstAndLastFrameOnly) {
    Sampled s(Scene(R"("transform": {"pos": [1, 2, 3]})"), {{2, 6}});
    s.Run();
    EXPECT_EQ(s.Flags(2, 6), (std::vector<int>{0x0B, 0, 0, 0, 0x0B}));
    // Every visited frame names the node; bone 0 was not sampled.
    EXPECT_EQ(s.At(4).node, &s.Node("arm"));
    EXPECT_EQ(s.At(4, 0).node, nullptr);
    EXPECT_EQ(s.At(2).position, host::Point3(1, 2, 3));
}

TEST(Sampler, AOneFrameAnimationRecordsEverything) {
    Sampled s(Scene(""), {{4, 4}});
    s.Run();
    EXPECT_EQ(s.At(4).flags, 0x0B);
}

TEST(Sampler, AVisibilityChangeAloneRecordsOnlyVisibility) {
    Sampled s(Scene(R"("visibility": {"0": 1, "9": 1, "10": 0})"), {{0, 12}});
    s.Run();
    EXPECT_EQ(s.Flags(8, 12), (std::vector<int>{0, 0, 0x10, 0, 0x13}));
    EXPECT_EQ(s.At(0).flags, 0x0B);
}

TEST(Sampler, VisibilityTurnsAtOneHalf) {
    // 0.5 at frame 5 is visible; 0.45 at frame 6 is not.
    Sampled s(Scene(R"("visibility": {"0": 1, "5": 0.5, "6": 0.45, "7": 0.45})"), {{0, 7}});
    s.Run();
    EXPECT_EQ(s.Flags(5, 6), (std::vector<int>{0, 0x10}));
}

TEST(Sampler, PositionsAreComparedWithTheLastRecordInMetres) {
    // 0.0006 m per frame: frame 1 stays under 0.001 m, frame 2 passes it,
    // frame 3 is again within 0.001 m of frame 2's record.
    Sampled s(Scene(R"("keys": {"0": {"pos": [0, 0, 0]}, "4": {"pos": [0.24, 0, 0]}})"), {{0, 4}});
    s.settings.masterScale = 0.01f;
    s.Run();
    EXPECT_EQ(s.Flags(0, 4), (std::vector<int>{0x0B, 0, 0x01, 0, 0x0B}));
    EXPECT_NEAR(s.At(2).position.x, 0.0012f, 1e-7f);
}

TEST(Sampler, OrientationsAreComparedWithinOneHundredThousandth) {
    // 0.001 degrees about z moves a quaternion component by 8.7e-6; 0.002 by 1.7e-5.
    Sampled s(Scene(R"("keys": {"0": {}, "1": {"rot": [0, 0, 0.001]}, "2": {"rot": [0, 0, 0.002]}, "3": {"rot": [0, 0, 0.002]}})"),
              {{0, 3}});
    s.Run();
    EXPECT_EQ(s.Flags(0, 3), (std::vector<int>{0x0B, 0, 0x02, 0x0B}));
}

TEST(Sampler, AMirroredNodeIsStoredRightHandedWithItsFlag) {
    Sampled s(Scene(R"("transform": {"rot": [0, 0, 90], "scale": [-1, 1, 1]})"), {{0, 1}});
    s.Run();
    const AnimationSample& a = s.At(0);
    EXPECT_EQ(a.flags, 0x0F);
    // The rotation is that of the mirrored axes with row 2 negated.
    host::Quat expected(host::Matrix3({0, -1, 0}, {-1, 0, 0}, {0, 0, -1}, {0, 0, 0}));
    EXPECT_TRUE(a.orientation.Equals(expected, 1e-6f));
    EXPECT_NEAR(a.orientation.Length(), 1.0f, 1e-6f);
    EXPECT_TRUE(s.Boxes().empty());
}

TEST(Sampler, AFrameThatIsNeitherHandIsToldEveryFrameAndKept) {
    Sampled s(Scene(R"("transform": {"matrix": [1, 0, 0,  0.6, 0.8, 0,  0, 0, 1,  0, 0, 0]})"), {{0, 2}});
    s.Run();
    EXPECT_EQ(s.Boxes(), (Strings(3, "-|ERROR|Non-ortho|unowned")));
    EXPECT_EQ(s.At(0).flags, 0x0B);
    EXPECT_EQ(s.At(0).orientation, host::Quat(host::Matrix3({1, 0, 0}, {0.6f, 0.8f, 0}, {0, 0, 1}, {0, 0, 0})));
}

TEST(Sampler, ReversePlaybackPutsTheLastPoseInTheFirstFrame) {
    Sampled s(Scene(R"("keys": {"0": {"pos": [0, 0, 0]}, "10": {"pos": [10, 0, 0]}})"), {{2, 6}});
    s.settings.reverseAnimation = true;
    s.Run();
    EXPECT_EQ(s.At(2).position, host::Point3(6, 0, 0));
    EXPECT_EQ(s.At(3).position, host::Point3(5, 0, 0));
    EXPECT_EQ(s.At(6).position, host::Point3(2, 0, 0));
}

TEST(Sampler, TheRootBoneGetsTheAxisFix) {
    Sampled s(Scene("", R"("name": "Root", "transform": {"pos": [1, 2, 3]})"), {{0, 0}});
    s.settings.axisFix = host::Inverse(host::Matrix3::Scale({1, -1, 1}));
    s.Run("Root", 0);
    const AnimationSample& root = s.At(0, 0);
    EXPECT_EQ(root.position, host::Point3(1, -2, 3));
    // The fix mirrors the y axis, so the root's frame is stored as mirrored.
    EXPECT_EQ(root.flags, 0x0F);
}

TEST(Sampler, GroupMembersAreSkippedForTheBoneParent) {
    // arm hangs under a group member; its parent space is the group's head.
    Sampled s(R"("time": {"start": 0, "end": 10}, "nodes": [{"name": "Root", "children": [
        {"name": "head", "group": "head", "transform": {"pos": [5, 0, 0]}, "children": [
            {"name": "member", "group": "member", "transform": {"pos": [0, 7, 0]}, "children": [
                {"name": "arm", "transform": {"pos": [1, 0, 0]}}]}]}]}])",
              {{0, 0}});
    s.Run();
    EXPECT_EQ(s.At(0).position, host::Point3(1, 7, 0));
}

TEST(Sampler, AnimationsSharingFramesKeepTheirOwnRecords) {
    Sampled s(Scene(R"("visibility": {"0": 1, "4": 1, "5": 0})"), {{0, 10}, {5, 7}, {5, 5}});
    s.Run();
    // The first records the change to hidden at 5 and its own end; the
    // second and third record everything at their own first and last frame.
    EXPECT_EQ(s.Flags(0, 10), (std::vector<int>{0x0B, 0, 0, 0, 0, 0x10, 0, 0, 0, 0, 0x13}));
    EXPECT_EQ(s.Flags(5, 7, 1, 1), (std::vector<int>{0x13, 0, 0x13}));
    EXPECT_EQ(s.Flags(5, 5, 1, 2), (std::vector<int>{0x13}));
}

TEST(Sampler, NotPresentAnimationsAreNotSampled) {
    Sampled s(Scene(""), {{0, 3}});
    s.animation.animations[0].present = false;
    s.Run();
    EXPECT_EQ(s.At(0).node, nullptr);
    EXPECT_EQ(s.List(), "");
}

TEST(Sampler, AFrameTablePastItsLimitIsRefused) {
    animtest::Fixture f(Scene(""));
    for (auto [start, end] : {std::pair{0, 65535}, std::pair{100, 199}}) {
        AnimationRange a;
        a.start = start;
        a.end = end;
        a.present = true;
        f.animation.animations.push_back(a);
    }
    EXPECT_FALSE(animation::InitFrameTable(f.settings, f.animation, "Root", 256));
    EXPECT_FALSE(f.animation.animations[0].present || f.animation.animations[1].present);
    EXPECT_EQ(f.animation.frames.FrameCount(), 0);
    EXPECT_EQ(f.Boxes(), Strings{"E|Ошибка|Анимации модели 'Root' слишком велики: 65636 кадров для 256 костей.\n"
                                 "Анимация не экспортирована."});
}

TEST(Sampler, AnimTxtListsEveryRecordedFrame) {
    Sampled s(Scene(R"("keys": {"0": {"pos": [0, 0, 0]}, "2": {"pos": [0.5, 0, 0], "rot": [0, 0, 90]}})"), {{0, 2}});
    s.Run();
    EXPECT_EQ(s.List(),
              "-= Animation: a0, Node arm =-\n"
              " frame 0 {\r\n"
              "\tvisibility 1\r\n"
              "\tposition 0 \t 0 \t 0\r\n"
              "\torientation 0 \t 0 \t 0 \t 1\r\n"
              "}\r\n"
              "frame 1 {\r\n"
              "\tposition 0.25 \t 0 \t 0\r\n"
              "\torientation 0 \t 0 \t -0.3827 \t 0.9239\r\n"
              "}\r\n"
              "frame 2 {\r\n"
              "\tvisibility 1\r\n"
              "\tposition 0.5 \t 0 \t 0\r\n"
              "\torientation 0 \t 0 \t -0.7071 \t 0.7071\r\n"
              "}\r\n");
}

}  // namespace
