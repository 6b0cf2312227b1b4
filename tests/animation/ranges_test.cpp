// The animation list of a model root: declarations read in order, selection
// sets found in any case, the scene range for missing frames, refused
// declarations with their messages, present with currentRangeOnly, the
// largest end frame, who takes part, and the entity file's block.
#include "animation/animation_ranges.h"

#include <gtest/gtest.h>

#include "animation/entity_block.h"
#include "animation/node_in_animation.h"
#include "animation_fixture.h"

namespace {

using animation::AnimationRange;
using Strings = std::vector<std::string>;

// A root with the given property text in a scene of frames 0 to 100 and a
// selection set "Legs" of the two leg nodes.
std::string Scene(const std::string& props, const std::string& time = R"({"start": 0, "end": 100})") {
    return R"("time": )" + time + R"(,
        "selectionSets": [{"name": "Arms", "nodes": ["arm"]}, {"name": "Legs", "nodes": ["leg_l", "leg_r"]},
                          {"name": "legs", "nodes": ["arm"]}],
        "nodes": [{"name": "Root", "props": ")" + props + R"(", "children": [
            {"name": "leg_l"}, {"name": "leg_r", "selected": true}, {"name": "arm", "selected": true,
             "children": [{"name": "hand", "group": "member"}]}]}])";
}

struct Collected {
    int32_t largestEnd;
    std::vector<AnimationRange> animations;
    Strings boxes;
    std::string block;
};

Collected Collect(const std::string& props, bool current_range_only = false,
                  const std::string& time = R"({"start": 0, "end": 100})") {
    animtest::Fixture f(Scene(props, time));
    f.settings.currentRangeOnly = current_range_only;
    Collected c;
    c.largestEnd = animation::CollectAnimations(f.settings, f.Node("Root"), f.animation);
    c.animations = f.animation.animations;
    c.boxes = f.Boxes();
    xIo::eMemoryStream def(256);
    xIo::xSdl::eWriter w;
    w.Open(&def);
    animation::WriteAnimationBlock(f.animation, w);
    w.Close();
    c.block = std::string(def.Data());
    return c;
}

const std::string kNoSelection = "W|Предупреждение|Именованное выделение '%s' не найдено.\nИспользуется текущее выделение.";
std::string NoSelection(const std::string& name) {
    std::string text = kNoSelection;
    return text.replace(text.find("%s"), 2, name);
}

TEST(AnimationRanges, ANameAloneTakesTheSceneRangeAndTheCurrentSelection) {
    Collected c = Collect("animation=walk\\r\\n", false, R"({"start": 5, "end": 60, "ticksPerFrame": 100})");
    ASSERT_EQ(c.animations.size(), 1u);
    const AnimationRange& a = c.animations[0];
    EXPECT_EQ(a.name, "walk");
    EXPECT_EQ(a.selection, -1);
    EXPECT_EQ(a.start, 5);
    EXPECT_EQ(a.end, 60);
    EXPECT_EQ(a.fileName, "walk");
    EXPECT_EQ(a.speed, 0.0f);
    EXPECT_TRUE(a.present);
    EXPECT_EQ(c.largestEnd, 60);
    EXPECT_EQ(c.boxes, Strings{NoSelection("")});
    EXPECT_EQ(c.block, "");
}

TEST(AnimationRanges, SelectionSetsAreFoundInAnyCaseTheFirstInHostOrder) {
    Collected c = Collect("animation=walk, LEGS, 10-20\\r\\n");
    ASSERT_EQ(c.animations.size(), 1u);
    EXPECT_EQ(c.animations[0].selection, 1);
    EXPECT_EQ(c.animations[0].start, 10);
    EXPECT_EQ(c.animations[0].end, 20);
    EXPECT_EQ(c.animations[0].fileName, "walk");
    EXPECT_TRUE(c.boxes.empty());
}

TEST(AnimationRanges, RefusedDeclarationsAreToldAndDropped) {
    struct Case {
        const char* props;
        const char* box;
    } cases[] = {
        {"animation=walk, legs, 20-10", "E|Ошибка|В анимации 'walk' конечный кадр меньше начального.\nАнимация пропущена."},
        {"animation=far, legs, 0-65536",
         "E|Ошибка|В анимации 'far' кадры должны быть в пределах от 0 до 65535.\nАнимация пропущена."},
        {"animation=huge, legs, 10-2000000000",
         "E|Ошибка|В анимации 'huge' кадры должны быть в пределах от 0 до 65535.\nАнимация пропущена."},
        {"animation=up, legs, 0-10, ../../x",
         "E|Ошибка|Имя файла '../../x' анимации 'up' выходит за пределы каталога модели.\nАнимация пропущена."},
        {"animation=dos, legs, 0-10, a\\\\b",
         "E|Ошибка|Имя файла 'a\\b' анимации 'dos' выходит за пределы каталога модели.\nАнимация пропущена."},
        {"animation=drive, legs, 0-10, c:x",
         "E|Ошибка|Имя файла 'c:x' анимации 'drive' выходит за пределы каталога модели.\nАнимация пропущена."},
    };
    for (const Case& k : cases) {
        Collected c = Collect(std::string(k.props) + "\\r\\nanimation=ok, legs, 1-3\\r\\n");
        ASSERT_EQ(c.animations.size(), 1u) << k.props;
        EXPECT_EQ(c.animations[0].name, "ok");
        EXPECT_EQ(c.largestEnd, 3) << k.props;
        EXPECT_EQ(c.boxes, Strings{k.box}) << k.props;
    }
}

TEST(AnimationRanges, FramesBeforeZeroFromTheSceneRangeAreRefused) {
    Collected c = Collect("animation=early, legs\\r\\nanimation=late, legs, 0\\r\\n", false,
                          R"({"start": -10, "end": 20})");
    // "late" starts at 0 and ends at the scene's end: accepted.
    ASSERT_EQ(c.animations.size(), 1u);
    EXPECT_EQ(c.animations[0].name, "late");
    EXPECT_EQ(c.largestEnd, 20);
    EXPECT_EQ(c.boxes, (Strings{"E|Ошибка|В анимации 'early' кадры должны быть в пределах от 0 до 65535.\nАнимация пропущена."}));
}

TEST(AnimationRanges, KeysAreTrimmedAndComparedInAnyCase) {
    Collected c = Collect(" AnimationResume =r, legs, 1-2;ANIMATIONAUTO=idle, all, 0-40;animations=x, legs;Animation=w, legs, 0-1");
    ASSERT_EQ(c.animations.size(), 3u);
    EXPECT_TRUE(c.animations[0].resume);
    EXPECT_FALSE(c.animations[0].autostart);
    EXPECT_TRUE(c.animations[1].autostart);
    EXPECT_FALSE(c.animations[2].resume || c.animations[2].autostart);
    EXPECT_EQ(c.boxes, Strings{NoSelection("all")});
    EXPECT_EQ(c.largestEnd, 40);
}

TEST(AnimationRanges, TheLargestEndFrameCoversEveryAcceptedDeclaration) {
    Collected c = Collect("animation=a, legs, 0-40;animation=b, legs, 100-120;animation=c, legs, 7-9");
    EXPECT_EQ(c.largestEnd, 120);
}

TEST(AnimationRanges, OutsideTheSceneRangeWithCurrentRangeOnlyIsKeptButNotPresent) {
    Collected c = Collect("animation=in, legs, 0-100;animation=out, legs, 90-120, outfile", true);
    ASSERT_EQ(c.animations.size(), 2u);
    EXPECT_TRUE(c.animations[0].present);
    EXPECT_FALSE(c.animations[1].present);
    EXPECT_EQ(c.largestEnd, 120);
    // Still in the entity block, as its file name differs from its name.
    EXPECT_NE(c.block.find("{binary \"outfile\" {name \"out\"}}"), std::string::npos) << c.block;
    EXPECT_TRUE(Collect("animation=out, legs, 90-120", false).animations[0].present);
}

TEST(AnimationRanges, EntityBlockListsOnlyWhatTellsTheEngineMore) {
    Collected c = Collect(
        "animation=walk, legs, 0-10;animation=run, legs, 0-30, runfast, 150;animationauto=idle, all, 0-40;"
        "animationresume=back, legs, 0-5;animation=neg, legs, 0-5, neg,-20;animation=same, legs, 0-5, same");
    EXPECT_EQ(c.animations[4].speed, -20.0f);
    EXPECT_EQ(c.block,
              "{animation\r\n"
              "\t{skeleton\r\n"
              "\t\t{binary \"runfast\" {name \"run\"}{speed 1.5}}\r\n"
              "\t\t{binary \"idle\" {autostart}}\r\n"
              "\t\t{binary \"back\" {resume}}\r\n"
              "\t}\r\n"
              "}\r\n");
}

TEST(AnimationRanges, WhoTakesPart) {
    animtest::Fixture f(Scene("animation=legs, legs, 0-1;animation=all, none, 0-1"));
    animation::CollectAnimations(f.settings, f.Node("Root"), f.animation);
    const AnimationRange& legs = f.animation.animations[0];
    const AnimationRange& all = f.animation.animations[1];
    auto in = [&](const char* node, const AnimationRange& range, bool selected_only) {
        return animation::NodeInAnimation(*f.scene, selected_only, f.Node(node), range);
    };
    EXPECT_TRUE(in("leg_l", legs, false));
    EXPECT_TRUE(in("leg_r", legs, true));
    EXPECT_FALSE(in("arm", legs, false));
    EXPECT_FALSE(in("Root", legs, false));
    // Without a set: everyone, or with selectedOnly the selected nodes; a
    // group member stands for its nearest ancestor outside the group.
    EXPECT_TRUE(in("leg_l", all, false));
    EXPECT_FALSE(in("leg_l", all, true));
    EXPECT_TRUE(in("arm", all, true));
    EXPECT_TRUE(in("hand", all, true));
}

}  // namespace
