#include "model/bone_writer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace {

// Steps of other subsystems that do nothing, as when geometry is not
// exported; the calls are counted.
struct NoSteps : model::BoneSteps {
    void SampleNode(const model::NodeStep& step) override { sampled.push_back(step.node.GetName()); }
    bool MeshBounds(int32_t, host::Box3&) const override { return false; }
    scene::StepResult WriteMesh(int32_t, const model::BoneRecord& bone) override {
        meshes.push_back(bone.meshName);
        return mesh_result;
    }
    std::vector<std::string> sampled;
    std::vector<std::string> meshes;
    scene::StepResult mesh_result = scene::StepResult::Done();
};

// One model of a scene walked by WriteBone into memory.
struct BoneWalk {
    std::unique_ptr<sim::Scene> scene;
    scene::Reporter report;
    scene::BoneTree tree;
    model::WalkSettings settings;
    std::unique_ptr<model::ModelBones> bones;
    int32_t frameCount = 0;
    std::string texturePrefix, commonDir, resourceDir;
    NoSteps steps;
    xIo::eMemoryStream mdl{256};
    xIo::eMemoryStream def{256};
    scene::StepResult result = scene::StepResult::Skipped("not run");

    explicit BoneWalk(std::string_view members)
        : scene(sim::SceneFromJson(members)), report(*scene), tree(*scene, report), settings{*scene, report, 0, 1.0f, host::Matrix3(), false, true, true} {
        scene::CollectModelRoots(tree);
    }
    std::string Run(size_t model = 0) {
        scene::ModelRoot& lists = tree.models[model];
        int32_t counter = 0;
        scene::BuildBoneTree(tree, *lists.root, counter, false);
        bones = std::make_unique<model::ModelBones>(lists, counter);
        bones->frameCount = frameCount;
        bones->texturePrefix = texturePrefix;
        bones->commonDir = commonDir;
        bones->resourceDir = resourceDir;
        xIo::xSdl::eWriter mdl_writer, def_writer;
        mdl_writer.Open(&mdl);
        def_writer.Open(&def);
        model::BoneWalk walk{settings, *bones, mdl_writer, def_writer, steps, tree.lodSiblings};
        result = model::WriteBone(walk, *lists.root, nullptr, model::kWriteLod | model::kModelRoot);
        mdl_writer.Close();
        def_writer.Close();
        return std::string(mdl.Data());
    }
};

int Balance(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '{') - std::count(text.begin(), text.end(), '}'));
}

TEST(WriteBone, CancelStopsTheWalkWithEveryBlockClosed) {
    BoneWalk w(R"("nodes": [{"name": "R", "props": "Model=r", "children": [
        {"name": "a", "children": [{"name": "b", "children": [{"name": "c"}]}]}, {"name": "d"}]}])");
    w.scene->ProgressScript().CancelAfterPolls(3);
    std::string mdl = w.Run();
    EXPECT_TRUE(w.result.IsCancelled());
    EXPECT_NE(mdl.find("\"b\""), std::string::npos);
    EXPECT_EQ(mdl.find("\"c\""), std::string::npos);
    EXPECT_EQ(mdl.find("\"d\""), std::string::npos);
    EXPECT_EQ(Balance(mdl), 0) << mdl;
}

TEST(WriteBone, BoneOutsideItsGroupStopsTheModelWithBlocksClosed) {
    BoneWalk w(R"("nodes": [{"name": "R", "props": "Model=r", "children": [
        {"name": "g", "group": "head", "children": [
            {"name": "m", "group": "member", "children": [{"name": "stray"}]}]},
        {"name": "after"}]}])");
    std::string mdl = w.Run();
    EXPECT_TRUE(w.result.IsFailed());
    EXPECT_EQ(Balance(mdl), 0) << mdl;
    EXPECT_EQ(qeltest::Boxes(*w.scene), (std::vector<std::string>{
        "E|Ошибка|Не относящаяся к группе кость 'stray' прилинкована внутрь группы!"}));
}

TEST(WriteBone, CommonMeshTargetsMustExistInsideTheModel) {
    BoneWalk missing(R"("nodes": [{"name": "R", "props": "Model=r", "children": [
        {"name": "a", "props": "CommonMesh=nowhere"}]}])");
    missing.Run();
    EXPECT_TRUE(missing.result.IsFailed());
    EXPECT_EQ(qeltest::Boxes(*missing.scene),
              (std::vector<std::string>{"E|Ошибка|Кость 'nowhere' для общего мэша не найдена!"}));

    BoneWalk outside(R"("nodes": [{"name": "R", "props": "Model=r", "children": [
        {"name": "a", "props": "CommonMesh=Other"}]}, {"name": "Other", "props": "Model=o"}])");
    outside.Run(1);  // models are reversed: R is the second
    EXPECT_EQ(qeltest::Boxes(*outside.scene),
              (std::vector<std::string>{"E|Ошибка|Кость 'Other' для общего мэша находится не в родительской иерархии!"}));
}

TEST(WriteBone, CommonMeshWithoutValueGetsOneSlotPerFrame) {
    BoneWalk w(R"("nodes": [{"name": "R", "props": "Model=r", "children": [
        {"name": "a", "props": "CommonMesh"}, {"name": "b"}]}])");
    w.frameCount = 41;
    w.Run();
    EXPECT_EQ(w.bones->bones[1].animationSlots, 41);
    EXPECT_TRUE(w.bones->bones[1].hasCommonMesh);
    EXPECT_TRUE(w.bones->bones[1].polyMesh);
    EXPECT_EQ(w.bones->bones[2].animationSlots, 1);
    EXPECT_FALSE(w.bones->bones[2].polyMesh);
}

TEST(WriteBone, SharedObjectsMakeTheFirstNodeTheMeshSource) {
    BoneWalk w(R"("objects": {"crate": {"type": "box", "length": 2, "width": 2, "height": 2}},
        "nodes": [{"name": "R", "props": "Model=r", "children": [
        {"name": "first", "props": "Voxels=1", "object": "crate"},
        {"name": "second", "props": "Poly", "object": "crate"},
        {"name": "named", "props": "Mesh=second\r\nPoly", "object": {"type": "sphere", "radius": 1}}]}])");
    w.texturePrefix = "../common/";
    w.commonDir = "d:/thegame/common";
    w.resourceDir = "d:/thegame/r";
    std::string mdl = w.Run();
    EXPECT_EQ(w.bones->bones[2].meshName, "first");
    EXPECT_EQ(w.bones->bones[2].meshDir, "d:/thegame/common");
    EXPECT_EQ(w.bones->bones[3].meshName, "second");
    // The first node shows the shared mesh as voxels (its source carries no
    // Poly): a pivot at the shared object's minimum corner, and the message.
    EXPECT_NE(mdl.find("{view poly \"../common/first\"\r\n\t\t\t{pivot -1 \t -1 \t 0}}"), std::string::npos) << mdl;
    // The second instance takes its polygon flag from its source, which has
    // none: it owns no mesh. The named source carries Poly: a polygon view.
    EXPECT_EQ(mdl.find("{bone \"second\"\r\n\t\t{view"), std::string::npos) << mdl;
    EXPECT_NE(mdl.find("{view poly \"../common/second\"}"), std::string::npos) << mdl;
    EXPECT_EQ(qeltest::Boxes(*w.scene),
              (std::vector<std::string>{"E|Ошибка|'first': Экспорт воксельных мэшей больше не поддерживается."}));
}

TEST(WriteBone, NodeListsAndSupportPointsAreCollected) {
    BoneWalk w(R"("nodes": [{"name": "R", "props": "Model=r", "children": [
        {"name": "bone", "transform": {"pos": [10, 0, 0], "scale": [2, 2, 2]}, "children": [
            {"name": "sp", "props": "SupportPoint", "transform": {"pos": [1, 2, 3]}},
            {"name": "v", "props": "Volume\r\nObstacle"},
            {"name": "z", "props": "Area"},
            {"name": "body", "props": "Body"},
            {"name": "pv", "props": "Preview"}]}]}])");
    w.Run();
    const scene::ModelRoot& model = w.bones->lists;
    EXPECT_EQ(model.volumes.size(), 1u);
    EXPECT_EQ(model.areas.size(), 2u);  // the obstacle volume and the area
    EXPECT_EQ(model.bodies.size(), 1u);
    EXPECT_EQ(model.previews.size(), 1u);
    ASSERT_EQ(w.bones->supportPoints.size(), 1u);
    EXPECT_EQ(w.bones->supportPoints[0].first->GetName(), "bone");
    // In the space of its bone with the bone's scale removed: scaled by 2.
    host::Point3 p = w.bones->supportPoints[0].second.at(0);
    EXPECT_NEAR(p.x, 2, 1e-4);
    EXPECT_NEAR(p.y, 4, 1e-4);
    EXPECT_NEAR(p.z, 6, 1e-4);
}

}  // namespace
