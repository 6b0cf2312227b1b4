#include <gtest/gtest.h>

#include <cmath>

#include "host/math_quat.h"
#include "host/object.h"
#include "host/skin.h"
#include "host/texture.h"
#include "sim/json_reader.h"
#include "sim/test_scene.h"

namespace {

using host::Matrix3;
using host::Point3;

host::Node* Child(sim::Scene& scene, int i) { return scene.GetRootNode()->GetChildNode(i); }

TEST(SceneAnswersTest, WorldTransformIsLocalTimesParentAndTrsOrderIsScaleRotateTranslate) {
    auto scene = sim::SceneFromJson(R"("nodes": [{"name": "p", "transform": {"pos": [10, 0, 0], "rot": [0, 0, 90]},
        "children": [{"name": "c", "transform": {"pos": [1, 0, 0], "scale": [2, 2, 2]}}]}])");
    host::Node* child = Child(*scene, 0)->GetChildNode(0);
    const Matrix3 world = child->GetNodeTM(0);
    // The child's offset (1, 0, 0) is turned by the parent's 90° about z.
    EXPECT_TRUE(world.GetTrans().Equals({10, 1, 0}, 1e-5f));
    EXPECT_TRUE((Point3(1, 0, 0) * world).Equals({10, 3, 0}, 1e-5f));
    const Matrix3 mirrored = sim::TrsMatrix({0, 0, 0}, {0, 0, 0}, {1, -1, 1});
    EXPECT_TRUE(mirrored.Parity());
}

TEST(SceneAnswersTest, KeysInterpolatePositionLinearlyRotationSphericallyAndHoldOutside) {
    auto scene = sim::SceneFromJson(R"("time": {"ticksPerFrame": 10}, "nodes": [{"name": "a", "keys": {
        "0": {"pos": [0, 0, 0]}, "10": {"pos": [10, 0, 0], "rot": [0, 0, 90]}}}])");
    host::Node* node = Child(*scene, 0);
    struct Case {
        host::TimeValue t;
        Point3 pos;
        float angle_deg;
    } cases[] = {{-50, {0, 0, 0}, 0}, {0, {0, 0, 0}, 0}, {50, {5, 0, 0}, 45}, {100, {10, 0, 0}, 90}, {500, {10, 0, 0}, 90}};
    for (const Case& c : cases) {
        const Matrix3 m = node->GetNodeTM(c.t);
        EXPECT_TRUE(m.GetTrans().Equals(c.pos, 1e-4f)) << c.t;
        const host::Quat expected(Matrix3::RotateZ(c.angle_deg * 3.14159265f / 180));
        EXPECT_TRUE(host::Quat(m).Equals(expected, 1e-5f)) << c.t;
    }
}

// Keys at the ends of the tick range: the span between them does not fit in
// 32 bits, and the halfway point still lies halfway.
TEST(SceneAnswersTest, KeysSpanningTheWholeTickRangeInterpolate) {
    auto scene = sim::SceneFromJson(R"("time": {"ticksPerFrame": 1920}, "nodes": [
        {"name": "a", "keys": {"-1000000": {"pos": [-10, 0, 0]}, "1000000": {"pos": [10, 0, 0]}},
         "visibility": {"-1000000": 0, "1000000": 1}}])");  // ±1,920,000,000 ticks
    host::Node* node = Child(*scene, 0);
    EXPECT_TRUE(node->GetNodeTM(0).GetTrans().Equals({0, 0, 0}, 1e-4f));
    EXPECT_TRUE(node->GetNodeTM(960000000).GetTrans().Equals({5, 0, 0}, 1e-4f));
    EXPECT_FLOAT_EQ(node->GetVisibility(0), 0.5f);
}

TEST(SceneAnswersTest, VisibilityInterpolatesLinearly) {
    auto scene = sim::SceneFromJson(R"("nodes": [{"name": "a", "visibility": {"0": 1, "10": 0}}, {"name": "b", "visibility": 0.25}])");
    EXPECT_FLOAT_EQ(Child(*scene, 0)->GetVisibility(5 * 160), 0.5f);
    EXPECT_FLOAT_EQ(Child(*scene, 0)->GetVisibility(20 * 160), 0.0f);
    EXPECT_FLOAT_EQ(Child(*scene, 1)->GetVisibility(3), 0.25f);
}

TEST(SceneAnswersTest, InstancesEvaluateToTheSameObject) {
    auto scene = sim::SceneFromJson(R"("objects": {"crate": {"type": "box", "length": 1, "width": 1, "height": 1}},
        "nodes": [{"name": "a", "object": "crate"}, {"name": "b", "object": "crate"}, {"name": "c", "object": {"type": "box"}}])");
    EXPECT_EQ(Child(*scene, 0)->EvalWorldState(0), Child(*scene, 1)->EvalWorldState(0));
    EXPECT_NE(Child(*scene, 0)->EvalWorldState(0), Child(*scene, 2)->EvalWorldState(0));
    EXPECT_EQ(Child(*scene, 3), nullptr);
}

TEST(SceneAnswersTest, PrimitivesReachTheirExtremesAroundTheirPivots) {
    auto scene = sim::SceneFromJson(R"("nodes": [
        {"name": "box", "object": {"type": "box", "length": 4, "width": 2, "height": 3, "segments": [2, 3, 1]}},
        {"name": "sphere", "object": {"type": "sphere", "radius": 5, "segments": 6}},
        {"name": "cylinder", "object": {"type": "cylinder", "radius": 2, "height": 7}}])");
    struct Case {
        int node;
        host::ClassId class_id;
        Point3 min, max;
    } cases[] = {{0, host::kBoxClassId, {-1, -2, 0}, {1, 2, 3}},
                 {1, host::kSphereClassId, {-5, -5, -5}, {5, 5, 5}},
                 {2, host::kCylinderClassId, {-2, -2, 0}, {2, 2, 7}}};
    for (const Case& c : cases) {
        host::Object* object = Child(*scene, c.node)->EvalWorldState(0);
        EXPECT_EQ(object->ClassID(), c.class_id);
        ASSERT_TRUE(object->CanConvertToTriMesh(0));
        auto mesh = object->ConvertToTriMesh(0);
        const host::Box3 box = mesh->VertexBox();
        EXPECT_TRUE(box.pmin.Equals(c.min, 0)) << c.node << ": " << box.pmin.x << " " << box.pmin.y << " " << box.pmin.z;
        EXPECT_TRUE(box.pmax.Equals(c.max, 0)) << c.node << ": " << box.pmax.x << " " << box.pmax.y << " " << box.pmax.z;
        // Every face points outward from the centre of the box.
        for (int f = 0; f < mesh->NumFaces(); ++f) {
            const host::Face& face = mesh->GetFace(f);
            const Point3 centre = (mesh->GetVert(int(face.v[0])) + mesh->GetVert(int(face.v[1])) + mesh->GetVert(int(face.v[2]))) / 3;
            EXPECT_GT(host::DotProd(mesh->FaceNormal(f), centre - box.Center()), 0) << c.node << " face " << f;
        }
    }
}

TEST(SceneAnswersTest, RenderNormalsFollowSmoothingGroups) {
    // Two triangles sharing the edge 1-2, folded by 90°.
    const char* scene_text = R"("nodes": [{"name": "m", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [1,1,0], [1,0,-1]], "faces": [[0,1,2], [1,3,2]], "smoothing": [%1, %2]}}])";
    struct Case {
        int sm0, sm1;
        size_t normals_at_1;
    } cases[] = {{1, 1, 1}, {1, 2, 2}, {3, 2, 1}, {0, 0, 0}};
    for (const Case& c : cases) {
        std::string text = scene_text;
        text.replace(text.find("%1"), 2, std::to_string(c.sm0));
        text.replace(text.find("%2"), 2, std::to_string(c.sm1));
        auto scene = sim::SceneFromJson(text);
        auto mesh = Child(*scene, 0)->EvalWorldState(0)->ConvertToTriMesh(0);
        const host::RenderVertex& vertex = mesh->GetRenderVertex(1);
        ASSERT_EQ(vertex.normals.size(), c.normals_at_1) << c.sm0 << " " << c.sm1;
        if (c.normals_at_1 == 1) {
            EXPECT_TRUE(vertex.normals[0].normal.Equals(host::Normalize({1, 0, 1}), 1e-5f));
        }
        EXPECT_TRUE(mesh->FaceNormal(0).Equals({0, 0, 1}, 1e-6f));
        EXPECT_TRUE(mesh->FaceNormal(1).Equals({1, 0, 0}, 1e-6f));
    }
}

TEST(SceneAnswersTest, SpecifiedNormalsAndHiddenFacesAndMaterialIds) {
    auto scene = sim::SceneFromJson(R"("nodes": [{"name": "m", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]], "materialIds": [7], "hiddenFaces": [0],
        "normals": {"normals": [[0,1,0], [0,0,1]], "faces": [[0,0,-1]], "explicit": [true, false]}}}])");
    auto mesh = Child(*scene, 0)->EvalWorldState(0)->ConvertToTriMesh(0);
    EXPECT_TRUE(mesh->GetFace(0).Hidden());
    EXPECT_EQ(mesh->GetFaceMtlIndex(0), 7);
    const host::NormalSpec* spec = mesh->GetNormalSpec();
    ASSERT_NE(spec, nullptr);
    EXPECT_EQ(spec->FaceNormalIndex(0, 2), -1);
    EXPECT_TRUE(spec->IsExplicit(0));
    EXPECT_FALSE(spec->IsExplicit(1));
    EXPECT_TRUE(spec->GetNormal(0, 1).Equals({0, 1, 0}, 0));
    EXPECT_TRUE(mesh->GetRenderVertex(0).specified);
    EXPECT_FALSE(mesh->GetRenderVertex(2).specified);
}

TEST(SceneAnswersTest, VertexFramesInterpolateAndHold) {
    auto scene = sim::SceneFromJson(R"("time": {"ticksPerFrame": 1}, "nodes": [{"name": "m", "object": {"type": "mesh",
        "vertices": [[0,0,0]], "faces": [], "frames": {"10": [[0,0,1]], "20": [[0,0,3]]}}}])");
    host::Object* object = Child(*scene, 0)->EvalWorldState(0);
    struct Case {
        host::TimeValue t;
        float z;
    } cases[] = {{0, 1}, {10, 1}, {15, 2}, {20, 3}, {99, 3}};
    for (const Case& c : cases) EXPECT_FLOAT_EQ(object->ConvertToTriMesh(c.t)->GetVert(0).z, c.z) << c.t;
}

TEST(SceneAnswersTest, SkinDeformsByBoneChangeAndSwitchOffIsUndoneByHold) {
    auto scene = sim::SceneFromJson(R"("time": {"ticksPerFrame": 1}, "nodes": [
        {"name": "bone", "keys": {"0": {"pos": [0, 0, 0]}, "10": {"pos": [0, 0, 4]}}},
        {"name": "skinned", "transform": {"pos": [1, 0, 0]}, "object": {"type": "mesh",
         "vertices": [[0,0,0], [1,0,0], [2,0,0]], "faces": [[0,1,2]]},
         "skin": {"bones": ["bone"], "weights": [[[0, 1.0]], [[0, 0.5]], []]}}])");
    host::Node* node = Child(*scene, 1);
    host::Skin* skin = node->GetSkin();
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(node->GetModifierClassId(0), host::kSkinClassId);
    EXPECT_EQ(skin->GetBone(0), Child(*scene, 0));
    EXPECT_EQ(skin->NumAssignedBones(2), 0);
    EXPECT_FLOAT_EQ(skin->GetBoneWeight(1, 0), 0.5f);
    auto deformed = node->EvalWorldState(10)->ConvertToTriMesh(10);
    EXPECT_TRUE(deformed->GetVert(0).Equals({0, 0, 4}, 1e-5f));
    EXPECT_TRUE(deformed->GetVert(1).Equals({1, 0, 2}, 1e-5f));
    EXPECT_TRUE(deformed->GetVert(2).Equals({2, 0, 0}, 1e-5f));

    host::Hold& hold = scene->GetHold();
    hold.Begin();
    skin->SetEnabled(false);
    EXPECT_TRUE(node->EvalWorldState(10)->ConvertToTriMesh(10)->GetVert(0).Equals({0, 0, 0}, 0));
    EXPECT_EQ(node->EvalWorldState(10), node->GetObjectRef());
    hold.Cancel();
    EXPECT_TRUE(skin->IsEnabled());
    EXPECT_EQ(scene->Record().hold, (std::vector<std::string>{"begin", "cancel"}));
}

TEST(SceneAnswersTest, CamerasAndLightsFaceTheirTargets) {
    auto scene = sim::SceneFromJson(R"("nodes": [
        {"name": "cam", "transform": {"pos": [0, -10, 0], "rot": [30, 40, 50]}, "object": {"type": "camera", "fov": 90, "target": "t"}},
        {"name": "top", "transform": {"pos": [0, 0, 10]}, "object": {"type": "light", "kind": "spot", "target": "t", "hotspot": 20}},
        {"name": "rolled", "transform": {"pos": [0, -10, 0]}, "object": {"type": "camera", "target": "t", "roll": 90}},
        {"name": "t", "object": {"type": "target"}}])");
    const Matrix3 cam = Child(*scene, 0)->GetNodeTM(0);
    EXPECT_TRUE(cam.GetRow(2).Equals({0, -1, 0}, 1e-6f));  // −z looks at the target
    EXPECT_TRUE(cam.GetRow(0).Equals({1, 0, 0}, 1e-6f));   // x horizontal
    EXPECT_TRUE(cam.GetRow(1).Equals({0, 0, 1}, 1e-6f));   // y up
    EXPECT_EQ(Child(*scene, 0)->GetTarget(), Child(*scene, 3));
    host::CameraState camera;
    ASSERT_TRUE(Child(*scene, 0)->EvalWorldState(0)->EvalCameraState(0, camera));
    EXPECT_NEAR(camera.fov, 3.14159265f / 2, 1e-6f);
    EXPECT_EQ(Child(*scene, 0)->EvalWorldState(0)->ClassID(), host::kTargetCameraClassId);
    const Matrix3 top = Child(*scene, 1)->GetNodeTM(0);
    EXPECT_TRUE(top.GetRow(2).Equals({0, 0, 1}, 1e-6f));
    EXPECT_TRUE(top.GetRow(1).Equals({0, 1, 0}, 1e-6f));  // vertical sight: y follows world y
    host::LightState light;
    ASSERT_TRUE(Child(*scene, 1)->EvalWorldState(0)->EvalLightState(0, light));
    EXPECT_EQ(light.type, host::LightType::kSpot);
    EXPECT_FLOAT_EQ(light.hotsize, 20);
    const Matrix3 rolled = Child(*scene, 2)->GetNodeTM(0);
    EXPECT_TRUE(rolled.GetRow(2).Equals({0, -1, 0}, 1e-6f));
    EXPECT_TRUE(rolled.GetRow(0).Equals({0, 0, 1}, 1e-6f));
}

// A look-at whose target moves with the looking node could never be placed:
// the scene is refused, naming both nodes. A node looking at its own parent,
// or at a node whose parent looks elsewhere, is no cycle.
TEST(SceneAnswersTest, LookAtCyclesAreRefused) {
    struct Case {
        const char* nodes;
        const char* error;  // "" when the scene loads
    } cases[] = {
        {R"({"name": "cam", "object": {"type": "camera", "target": "aim"}, "children": [{"name": "aim"}]})",
         R"("cam" cannot look at "aim": its placement depends on "cam")"},
        {R"({"name": "a", "object": {"type": "camera", "target": "b"}},
            {"name": "b", "object": {"type": "light", "kind": "spot", "target": "a"}})",
         R"("b" cannot look at "a": its placement depends on "b")"},
        {R"({"name": "a", "object": {"type": "camera", "target": "c"}},
            {"name": "b", "object": {"type": "camera", "target": "a"}},
            {"name": "c", "object": {"type": "camera", "target": "b"}})",
         R"("c" cannot look at "b")"},
        {R"({"name": "Лампа", "object": {"type": "light", "kind": "spot", "target": "x"},
             "children": [{"name": "p", "children": [{"name": "x"}]}]})",
         R"("Лампа" cannot look at "x")"},
        {R"({"name": "p", "children": [{"name": "cam", "object": {"type": "camera", "target": "p"}}]})", ""},
        {R"({"name": "a", "object": {"type": "camera", "target": "t"}},
            {"name": "b", "object": {"type": "camera", "target": "c"}, "children": [{"name": "t"}]},
            {"name": "c", "children": [{"name": "d", "object": {"type": "camera", "target": "b"}}]})", ""},
    };
    for (const Case& c : cases) {
        std::string error;
        try {
            auto scene = sim::SceneFromJson(std::string(R"("nodes": [)") + c.nodes + "]");
            Child(*scene, 0)->GetNodeTM(0);
        } catch (const sim::LoadError& e) {
            error = e.Reason();
        }
        if (*c.error == 0) EXPECT_EQ(error, "") << c.nodes;
        else EXPECT_NE(error.find(c.error), std::string::npos) << c.nodes << "\n" << error;
    }
}

TEST(SceneAnswersTest, ShapesBecomePolylines) {
    auto scene = sim::SceneFromJson(R"("nodes": [
        {"name": "r", "object": {"type": "rectangle", "length": 2, "width": 4}},
        {"name": "c", "object": {"type": "circle", "radius": 3}},
        {"name": "l", "object": {"type": "line", "splines": [{"points": [[0,0,0],[1,0,0]]}, {"points": [[0,0,0]], "closed": true}]}}])");
    struct Case {
        int node;
        size_t lines, points;
        bool closed;
        float max_x;
    } cases[] = {{0, 1, 4, true, 2}, {1, 1, 32, true, 3}, {2, 2, 2, false, 1}};
    for (const Case& c : cases) {
        host::PolyShape shape;
        host::Object* object = Child(*scene, c.node)->EvalWorldState(0);
        EXPECT_EQ(object->SuperClassID(), host::kShapeClass);
        ASSERT_TRUE(object->MakePolyShape(0, shape));
        ASSERT_EQ(shape.lines.size(), c.lines);
        EXPECT_EQ(shape.lines[0].points.size(), c.points);
        EXPECT_EQ(shape.lines[0].closed, c.closed);
        EXPECT_FLOAT_EQ(object->GetBoundingBox(0).pmax.x, c.max_x);
    }
}

TEST(SceneAnswersTest, SceneWideAnswers) {
    auto scene = sim::SceneFromJson(R"("file": "d:/art/tank.max", "user": "artist", "units": {"masterScale": 0.01},
        "time": {"ticksPerFrame": 80, "start": 5, "end": 50}, "ambient": [0.1, 0.2, 0.3],
        "selectionSets": [{"name": "Legs", "nodes": ["b", "a"]}],
        "nodes": [{"name": "a", "props": "Model=x\r\n", "joint": {"revolute": true}}, {"name": "b", "group": "head",
                  "children": [{"name": "a", "group": "member"}]}])");
    EXPECT_EQ(scene->GetCurFilePath(), "d:/art/tank.max");
    EXPECT_EQ(scene->GetUserName(), "artist");
    EXPECT_DOUBLE_EQ(scene->GetMasterScaleMeters(), 0.01);
    EXPECT_EQ(scene->GetTicksPerFrame(), 80);
    EXPECT_EQ(scene->GetAnimRange(), host::Interval(400, 4000));
    EXPECT_FLOAT_EQ(scene->GetAmbient(0).g, 0.2f);
    ASSERT_EQ(scene->GetNumNamedSelSets(), 1);
    EXPECT_EQ(scene->GetNamedSelSetName(0), "Legs");
    EXPECT_EQ(scene->GetNamedSelSetItem(0, 0), Child(*scene, 1));
    EXPECT_EQ(scene->GetNamedSelSetItem(0, 1), Child(*scene, 0));  // the first node of that name
    EXPECT_EQ(scene->GetNamedSelSetItem(0, 2), nullptr);
    std::string value;
    EXPECT_TRUE(Child(*scene, 0)->GetUserPropString("model", value));
    EXPECT_EQ(value, "x");
    EXPECT_TRUE(Child(*scene, 0)->GetJointFlags().revolute);
    EXPECT_TRUE(Child(*scene, 1)->IsGroupHead());
    EXPECT_TRUE(Child(*scene, 1)->GetChildNode(0)->IsGroupMember());
    EXPECT_EQ(Child(*scene, 1)->GetChildNode(0)->GetParentNode(), Child(*scene, 1));
    // A node without an object is a helper, each with its own.
    ASSERT_NE(Child(*scene, 0)->EvalWorldState(0), nullptr);
    EXPECT_EQ(Child(*scene, 0)->EvalWorldState(0)->SuperClassID(), host::kHelperClass);
    EXPECT_NE(Child(*scene, 0)->EvalWorldState(0), Child(*scene, 1)->EvalWorldState(0));
}

TEST(SceneAnswersTest, UserPropertyLinesEndWithCrLfAsTheHostStoresThem) {
    struct Case {
        const char* json;  // the props string as written in the file
        const char* stored;
    } cases[] = {{R"(Poly\nLayer=x)", "Poly\r\nLayer=x"},
                 {R"(Poly\r\nLayer=x\r\n)", "Poly\r\nLayer=x\r\n"},
                 {R"(\n\nmass=2\r\n\n)", "\r\n\r\nmass=2\r\n\r\n"},
                 {R"(a\rb)", "a\rb"}};
    for (const Case& c : cases) {
        auto scene = sim::SceneFromJson(std::string(R"("nodes": [{"name": "a", "props": ")") + c.json + R"("}])");
        EXPECT_EQ(Child(*scene, 0)->GetUserPropBuffer(), c.stored) << c.json;
    }
    auto scene = sim::SceneFromJson(R"("nodes": [{"name": "a", "props": "Poly\nLayer=x"}])");
    std::string layer;
    EXPECT_TRUE(Child(*scene, 0)->GetUserPropString("Layer", layer));
    EXPECT_EQ(layer, "x");
}

TEST(SceneAnswersTest, KeysMayComeInAnyOrder) {
    // Everything a node refers to comes after it, the time settings last,
    // and a node's children and a mesh's faces before what they depend on.
    auto scene = sim::LoadSceneText(R"({"nodes": [
        {"children": [{"name": "kid"}], "keys": {"0": {"pos": [0, 0, 0]}, "1": {"pos": [10, 0, 0]}}, "material": "m",
         "object": "crate", "name": "a"},
        {"object": {"faces": [[0, 1, 2]], "frames": {"1": [[0, 0, 1], [1, 0, 1], [0, 1, 1]], "0": [[0, 0, 0], [1, 0, 0], [0, 1, 0]]},
                    "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "type": "mesh"}, "name": "m"}],
        "objects": {"crate": {"type": "box", "length": 2, "width": 2, "height": 2}},
        "materials": {"m": {"maps": {"diffuse": {"texture": "t"}}, "type": "standard", "name": "M"}},
        "textures": {"t": {"type": "checker"}},
        "version": 1, "time": {"ticksPerFrame": 10}, "format": "qel-scene"})");
    ASSERT_EQ(scene->Nodes().size(), 3u);
    EXPECT_EQ(scene->Nodes()[0]->GetName(), "a");
    EXPECT_EQ(scene->Nodes()[1]->GetName(), "kid");
    EXPECT_EQ(scene->Nodes()[2]->GetName(), "m");
    host::Node* a = Child(*scene, 0);
    EXPECT_TRUE(a->GetNodeTM(5).GetTrans().Equals({5, 0, 0}, 1e-5f));  // frame 1 is tick 10
    ASSERT_NE(a->GetMtl(), nullptr);
    EXPECT_EQ(a->GetMtl()->GetName(), "M");
    EXPECT_EQ(a->GetMtl()->GetSubTexmap(host::kMapDiffuse)->ClassID(), host::kCheckerClassId);
    EXPECT_EQ(a->EvalWorldState(0)->ClassID(), host::kBoxClassId);
    auto mesh = Child(*scene, 1)->EvalWorldState(5)->ConvertToTriMesh(5);
    EXPECT_FLOAT_EQ(mesh->GetVert(1).z, 0.5f);
}

TEST(SceneAnswersTest, MaterialsAndTexturesAnswerAsTheHost) {
    auto scene = sim::SceneFromJson(R"(
        "textures": {"t_wall": {"type": "bitmap", "file": "d:/maps/wall.tga", "uv": {"channel": 2, "source": "worldXYZ"}},
                     "t_mix": {"type": "mix", "maps": ["t_wall", null, "t_check"]}, "t_check": {"type": "checker"}},
        "materials": {"std": {"type": "standard", "name": "Wall", "specular": [1, 0.5, 0], "specularLevel": 40,
                              "shininessStrength": 0.7, "transparency": 0.25, "twoSided": true,
                              "maps": {"diffuse": {"texture": "t_mix"}, "bump": {"texture": "t_wall", "amount": 30, "enabled": false}}},
                      "multi": {"type": "multi", "materials": ["std", null]}},
        "nodes": [{"name": "a", "material": "multi"}])");
    host::Material* multi = Child(*scene, 0)->GetMtl();
    ASSERT_NE(multi, nullptr);
    EXPECT_TRUE(multi->IsMultiMtl());
    EXPECT_EQ(multi->NumSubMtls(), 2);
    EXPECT_EQ(multi->GetSubMtl(1), nullptr);
    host::Material* standard = multi->GetSubMtl(0);
    EXPECT_EQ(standard->ClassID(), host::kStandardMaterialClassId);
    EXPECT_EQ(standard->GetName(), "Wall");
    EXPECT_FLOAT_EQ(standard->GetSpecularLevel(0), 40);
    EXPECT_FLOAT_EQ(standard->GetShinStr(0), 0.7f);
    EXPECT_FLOAT_EQ(standard->GetXParency(0), 0.25f);
    EXPECT_EQ(standard->Requirements(-1) & host::kMtlReqTwoSided, host::kMtlReqTwoSided);
    EXPECT_FALSE(standard->MapEnabled(host::kMapBump));
    EXPECT_FLOAT_EQ(standard->GetTexmapAmount(host::kMapBump, 0), 0.3f);
    host::Texture* mix = standard->GetSubTexmap(host::kMapDiffuse);
    EXPECT_EQ(mix->ClassID(), host::kMixTextureClassId);
    EXPECT_EQ(mix->GetName(), "t_mix");
    EXPECT_EQ(mix->NumSubTexmaps(), 3);
    EXPECT_EQ(mix->GetSubTexmap(1), nullptr);
    const host::UvGen* uv = mix->GetSubTexmap(0)->GetUvGen();
    ASSERT_NE(uv, nullptr);
    EXPECT_EQ(uv->GetMapChannel(), 2);
    EXPECT_EQ(uv->GetCoordSource(), host::UvSource::kWorldXyz);
}

TEST(SceneAnswersTest, UvTransformScalesRotatesAboutCentreThenOffsets) {
    auto scene = sim::SceneFromJson(R"("textures": {"t": {"type": "checker", "uv": {"tiling": [2, 1], "offset": [0.1, 0], "angle": 90}}},
        "materials": {"m": {"type": "standard", "maps": {"diffuse": {"texture": "t"}}}}, "nodes": [{"name": "a", "material": "m"}])");
    const host::UvGen* uv = Child(*scene, 0)->GetMtl()->GetSubTexmap(host::kMapDiffuse)->GetUvGen();
    const Matrix3 m = uv->GetUvTransform();
    // (0.5, 0) scales to (1, 0), turns about (0.5, 0.5) to (1, 1), moves to (1.1, 1).
    EXPECT_TRUE((Point3(0.5f, 0, 0) * m).Equals({1.1f, 1, 0}, 1e-5f));
}

}  // namespace
