#include "scene/bone_tree.h"

#include <gtest/gtest.h>

#include "scene/node_params.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace {

using qeltest::Boxes;
using scene::AttachedBoneIndex;
using scene::BoneTree;

struct Walk {
    std::unique_ptr<sim::Scene> scene;
    scene::Reporter report;
    BoneTree tree;
    explicit Walk(std::string_view members, bool lights_cameras = true)
        : scene(sim::SceneFromJson(members)), report(*scene), tree(*scene, report, 0, lights_cameras) {}
    host::Node* Node(const std::string& name) { return scene->GetNodeByName(name); }
    std::vector<std::string> Roots() {
        std::vector<std::string> names;
        for (const auto& m : tree.models) names.push_back(m.root->GetName());
        return names;
    }
};

const char* kErr = "E|Ошибка|";

TEST(BoneTree, ModelRootsAreReversedWithStructuresBeforeTheirModels) {
    Walk w(R"("nodes": [
        {"name": "A", "props": "Model=a\r\nStructure\r\n", "children": [
            {"name": "M", "props": "Model=m\r\n"},
            {"name": "wall"},
            {"name": "N", "props": "Model=n\r\n"}]},
        {"name": "B", "props": "XModel=b\r\n"},
        {"name": "hidden", "hidden": true, "props": "Model=h\r\n"},
        {"name": "rock_lod1", "props": "Model=r\r\n"}])");
    EXPECT_TRUE(scene::CollectModelRoots(w.tree));
    EXPECT_EQ(w.Roots(), (std::vector<std::string>{"B", "A", "N", "M"}));
    EXPECT_TRUE(Boxes(*w.scene).empty());
    EXPECT_FALSE(w.tree.structureFlag);
}

TEST(BoneTree, NothingToExport) {
    Walk w(R"("nodes": [{"name": "Root", "hidden": true, "props": "Model=a"}])");
    EXPECT_FALSE(scene::CollectModelRoots(w.tree));
    EXPECT_EQ(Boxes(*w.scene), (std::vector<std::string>{std::string(kErr) +
                                                          "Нечего экспортировать!\nВозможно, скрыта корневая кость."}));
}

TEST(BoneTree, RootWithoutModelIsReportedByItsRawName) {
    Walk w(R"("nodes": [{"name": "Танк 1"}, {"name": "ok", "props": "model=x"}])");
    EXPECT_TRUE(scene::CollectModelRoots(w.tree));
    EXPECT_EQ(Boxes(*w.scene),
              (std::vector<std::string>{std::string(kErr) + "В кости 'Танк 1' должно быть указано 'Model' или 'XModel'!"}));
}

TEST(BoneTree, ErroneousStructureIsNotAdded) {
    Walk w(R"("nodes": [{"name": "S", "props": "Model=s\r\nStructure", "children": [
        {"name": "Arm"}, {"name": "arm"}, {"name": "In", "props": "Model=in"}]}])");
    EXPECT_TRUE(scene::CollectModelRoots(w.tree));
    EXPECT_EQ(w.Roots(), (std::vector<std::string>{"In"}));
    EXPECT_EQ(Boxes(*w.scene), (std::vector<std::string>{std::string(kErr) + "Найдено повторяющееся имя кости: arm!"}));
}

TEST(BoneTree, PreOrderWithLodBonesRightAfterTheirBase) {
    Walk w(R"("nodes": [{"name": "Root", "props": "Model=a", "children": [
        {"name": "tree", "children": [{"name": "leaf"}]},
        {"name": "tree_lod2"},
        {"name": "tree_lod1"},
        {"name": "cam", "object": {"type": "camera", "fov": 45}},
        {"name": "target", "object": {"type": "target"}},
        {"name": "vol", "props": "Volume"},
        {"name": "group", "group": "head", "children": [{"name": "member", "group": "member"}]},
        {"name": "gone", "hidden": true, "children": [{"name": "under_gone"}]},
        {"name": "last"}]}])");
    int32_t counter = 0;
    EXPECT_FALSE(scene::BuildBoneTree(w.tree, *w.Node("Root"), counter, false).IsFailed());
    EXPECT_EQ(counter, 7);
    EXPECT_EQ(w.tree.boneNames, (std::vector<std::string>{"root", "tree", "tree_lod1", "tree_lod2", "leaf", "group", "last"}));
    EXPECT_EQ(AttachedBoneIndex(*w.Node("tree_lod1")), 2);
    EXPECT_EQ(AttachedBoneIndex(*w.Node("leaf")), 4);
    for (const char* not_bone : {"cam", "target", "vol", "member", "gone", "under_gone"})
        EXPECT_EQ(AttachedBoneIndex(*w.Node(not_bone)), -1) << not_bone;
    EXPECT_TRUE(Boxes(*w.scene).empty());
}

// The LOD siblings by the rule as written: scan the siblings from the last
// to the first for cleaned names that begin with the bone's and "_lod".
std::vector<host::Node*> LodSiblingsByScan(host::Node& node) {
    std::vector<host::Node*> lods;
    host::Node* parent = node.GetParentNode();
    std::string prefix = scene::CleanNodeName(node, true) + "_lod";
    for (int i = parent->NumberOfChildren() - 1; i >= 0; --i) {
        host::Node* s = parent->GetChildNode(i);
        if (s == &node || (s->IsGroupMember() && !s->IsGroupHead())) continue;
        if (scene::CleanNodeName(*s, true).compare(0, prefix.size(), prefix) != 0) continue;
        if (s->IsNodeHidden() || scene::NodeKindOf(*s) != scene::NodeKind::Bone) continue;
        lods.push_back(s);
    }
    std::stable_sort(lods.begin(), lods.end(),
                     [](host::Node* a, host::Node* b) { return scene::LodIndex(*a) < scene::LodIndex(*b); });
    return lods;
}

TEST(BoneTree, IndexedLodSiblingsAgreeWithAScanOfTheSiblings) {
    Walk w(R"("nodes": [{"name": "Root", "props": "Model=a", "children": [
        {"name": "a"}, {"name": "A_LOD2"}, {"name": "a_lod1"}, {"name": "a_lod"}, {"name": "a_lod_lod1"},
        {"name": "a lod1"}, {"name": "a_lod3", "hidden": true}, {"name": "a_lod4", "props": "Volume"},
        {"name": "g_lod1", "group": "member"}, {"name": "g", "group": "head", "children": [
            {"name": "g_lod1", "group": "member"}]}, {"name": "g_lod2", "group": "head"},
        {"name": "wall_vol"}, {"name": "wall_lod1_vol"}, {"name": "x_lod1"}, {"name": "x_lod1_lod1"},
        {"name": "x"}, {"name": "b_lod2"}, {"name": "b_lod1"}, {"name": "b_lod1"}]}])");
    host::Node* root = w.Node("Root");
    size_t with_lods = 0;
    for (int i = 0; i < root->NumberOfChildren(); ++i) {
        host::Node& child = *root->GetChildNode(i);
        std::vector<host::Node*> expected = LodSiblingsByScan(child);
        EXPECT_EQ(w.tree.lodSiblings.Of(child), expected) << child.GetName();
        if (!expected.empty()) ++with_lods;
    }
    EXPECT_GE(with_lods, 5u);  // a, a_lod, g, wall, x, x_lod1 have some
}

TEST(BoneTree, MissingLodLevelNamesTheBaseAndTheLevel) {
    Walk w(R"("nodes": [{"name": "Root", "props": "Model=a", "children": [
        {"name": "Tree"}, {"name": "tree_lod1"}, {"name": "tree_lod3"}]}])");
    int32_t counter = 0;
    EXPECT_TRUE(scene::BuildBoneTree(w.tree, *w.Node("Root"), counter, false).IsFailed());
    EXPECT_EQ(Boxes(*w.scene),
              (std::vector<std::string>{std::string(kErr) + "В кости 'tree' пропущен уровень детализации №2!"}));
}

TEST(BoneTree, LodBoneWithLinkedObjectsIsReportedOnce) {
    Walk w(R"("nodes": [{"name": "Root", "props": "Model=a", "children": [
        {"name": "a"},
        {"name": "A_Lod1", "children": [{"name": "c1"}, {"name": "c2"}, {"name": "g", "group": "member"}]}]}])");
    int32_t counter = 0;
    EXPECT_TRUE(scene::BuildBoneTree(w.tree, *w.Node("Root"), counter, false).IsFailed());
    EXPECT_EQ(Boxes(*w.scene), (std::vector<std::string>{std::string(kErr) +
                                                          "К кости уровня детализации 'A_Lod1' не должны быть "
                                                          "прилинкованы объекты!"}));
}

TEST(BoneTree, ANameUsedThreeTimesGivesThreeMessages) {
    Walk w(R"("nodes": [{"name": "Root", "props": "Model=a", "children": [
        {"name": "Arm"}, {"name": "arm"}, {"name": "ARM"}, {"name": "Leg"}]}])");
    int32_t counter = 0;
    EXPECT_TRUE(scene::BuildBoneTree(w.tree, *w.Node("Root"), counter, false).IsFailed());
    std::string dup = std::string(kErr) + "Найдено повторяющееся имя кости: arm!";
    EXPECT_EQ(Boxes(*w.scene), (std::vector<std::string>{dup, dup, dup}));
}

TEST(BoneTree, NestedModelsAreCollectedOnlyWhenAsked) {
    Walk w(R"("nodes": [{"name": "S", "props": "Model=s\r\nStructure", "children": [
        {"name": "House", "props": "Model=h", "children": [{"name": "door"}]}]}])");
    w.tree.structureFlag = true;
    int32_t counter = 0;
    EXPECT_FALSE(scene::BuildBoneTree(w.tree, *w.Node("S"), counter, false).IsFailed());
    EXPECT_EQ(counter, 1);  // the nested model is not part of the structure's bones
    EXPECT_TRUE(w.tree.models.empty());
    counter = 0;
    scene::BuildBoneTree(w.tree, *w.Node("S"), counter, true);
    EXPECT_EQ(w.Roots(), (std::vector<std::string>{"House"}));
}

TEST(BoneTree, EnabledLightsGetDescriptorsOutsideGroupsOnly) {
    Walk w(R"("nodes": [{"name": "Root", "props": "Model=a", "children": [
        {"name": "lamp", "object": {"type": "light", "kind": "omni"}},
        {"name": "off", "object": {"type": "light", "kind": "omni", "enabled": false}},
        {"name": "g", "group": "head", "children": [
            {"name": "grouped", "group": "member", "object": {"type": "light", "kind": "spot"}}]}]}])");
    int32_t counter = 0;
    scene::BuildBoneTree(w.tree, *w.Node("Root"), counter, false);
    ASSERT_EQ(w.tree.lights.size(), 1u);
    EXPECT_EQ(w.tree.lights[0]->GetNode(), w.Node("lamp"));
    EXPECT_EQ(w.scene->Record().lightDescUpdates, (std::vector<std::string>{"lamp"}));

    Walk off(R"("nodes": [{"name": "Root", "props": "Model=a", "children": [
        {"name": "lamp", "object": {"type": "light", "kind": "omni"}}]}])",
             false);
    counter = 0;
    scene::BuildBoneTree(off.tree, *off.Node("Root"), counter, false);
    EXPECT_TRUE(off.tree.lights.empty());
}

TEST(NodeKinds, FirstMatchingRuleDecides) {
    Walk w(R"("nodes": [
        {"name": "v", "props": "Volume\r\nBody"},
        {"name": "c", "props": "component=1"},
        {"name": "s", "props": "SupportPoint"},
        {"name": "o", "props": "OBSTACLE=0"},
        {"name": "b", "props": "Body"},
        {"name": "p", "props": "Preview"},
        {"name": "l", "object": {"type": "light", "kind": "spot"}},
        {"name": "cam", "object": {"type": "camera", "fov": 30}},
        {"name": "t", "object": {"type": "target"}},
        {"name": "plain"}])");
    struct Case {
        const char* name;
        scene::NodeKind kind;
    } cases[] = {
        {"v", scene::NodeKind::Volume},   {"c", scene::NodeKind::Volume},       {"s", scene::NodeKind::SupportPoint},
        {"o", scene::NodeKind::Area},     {"b", scene::NodeKind::Body},         {"p", scene::NodeKind::Preview},
        {"l", scene::NodeKind::Light},    {"cam", scene::NodeKind::Camera},     {"t", scene::NodeKind::Target},
        {"plain", scene::NodeKind::Bone},
    };
    for (const Case& c : cases) EXPECT_EQ(scene::NodeKindOf(*w.Node(c.name)), c.kind) << c.name;
}

}  // namespace
