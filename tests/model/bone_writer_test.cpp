#include "model/bone_writer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace {

// One model of a scene walked by WriteBone into memory.
struct BoneWalk {
    std::unique_ptr<sim::Scene> scene;
    scene::ExportContext ctx;
    xIo::eMemoryStream mdl{256};
    xIo::eMemoryStream def{256};
    int result = -1;

    explicit BoneWalk(std::string_view members) : scene(sim::SceneFromJson(members)), ctx(*scene) {
        scene::CollectModelRoots(ctx.boneTree);
    }
    std::string Run(size_t model = 0) {
        ctx.currentModel = model;
        ctx.currentRoot = ctx.boneTree.models[model].root;
        int32_t counter = 0;
        scene::BuildBoneTree(ctx.boneTree, *ctx.currentRoot, counter, false);
        ctx.boneCount = counter;
        ctx.bones.assign(static_cast<size_t>(counter), scene::BoneRecord{});
        ctx.modelWriter.Open(&mdl);
        ctx.entityWriter.Open(&def);
        result = model::WriteBone(ctx, *ctx.currentRoot, nullptr, model::kWriteLod | model::kModelRoot);
        ctx.modelWriter.Close();
        ctx.entityWriter.Close();
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
    EXPECT_EQ(w.result, 0);
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
    EXPECT_EQ(w.result, 0);
    EXPECT_EQ(Balance(mdl), 0) << mdl;
    EXPECT_EQ(qeltest::Boxes(*w.scene), (std::vector<std::string>{
        "E|Ошибка|Не относящаяся к группе кость 'stray' прилинкована внутрь группы!"}));
}

TEST(WriteBone, CommonMeshTargetsMustExistInsideTheModel) {
    BoneWalk missing(R"("nodes": [{"name": "R", "props": "Model=r", "children": [
        {"name": "a", "props": "CommonMesh=nowhere"}]}])");
    missing.Run();
    EXPECT_EQ(missing.result, 0);
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
    w.ctx.frameCount = 41;
    w.Run();
    EXPECT_EQ(w.ctx.bones[1].animationSlots, 41);
    EXPECT_TRUE(w.ctx.bones[1].hasCommonMesh);
    EXPECT_TRUE(w.ctx.bones[1].polyMesh);
    EXPECT_EQ(w.ctx.bones[2].animationSlots, 1);
    EXPECT_FALSE(w.ctx.bones[2].polyMesh);
}

TEST(WriteBone, SharedObjectsMakeTheFirstNodeTheMeshSource) {
    BoneWalk w(R"("objects": {"crate": {"type": "box", "length": 2, "width": 2, "height": 2}},
        "nodes": [{"name": "R", "props": "Model=r", "children": [
        {"name": "first", "props": "Voxels=1", "object": "crate"},
        {"name": "second", "props": "Poly", "object": "crate"},
        {"name": "named", "props": "Mesh=second\r\nPoly", "object": {"type": "sphere", "radius": 1}}]}])");
    w.ctx.texturePrefix = "../common/";
    w.ctx.commonDir = "d:/thegame/common";
    w.ctx.resourceDir = "d:/thegame/r";
    std::string mdl = w.Run();
    EXPECT_EQ(w.ctx.bones[2].meshName, "first");
    EXPECT_EQ(w.ctx.bones[2].meshDir, "d:/thegame/common");
    EXPECT_EQ(w.ctx.bones[3].meshName, "second");
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
    const scene::ModelRoot& model = w.ctx.CurrentModel();
    EXPECT_EQ(model.volumes.size(), 1u);
    EXPECT_EQ(model.areas.size(), 2u);  // the obstacle volume and the area
    EXPECT_EQ(model.bodies.size(), 1u);
    EXPECT_EQ(model.previews.size(), 1u);
    ASSERT_EQ(w.ctx.supportPoints.size(), 1u);
    EXPECT_EQ(w.ctx.supportPoints[0].first->GetName(), "bone");
    // In the space of its bone with the bone's scale removed: scaled by 2.
    host::Point3 p = w.ctx.supportPoints[0].second.at(0);
    EXPECT_NEAR(p.x, 2, 1e-4);
    EXPECT_NEAR(p.y, 4, 1e-4);
    EXPECT_NEAR(p.z, 6, 1e-4);
}

}  // namespace
