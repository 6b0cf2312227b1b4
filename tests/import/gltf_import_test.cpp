// The glTF import on a rig made by the tests: what reaches the host, the same
// scene from every form of the file, a whole export, and broken files.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "export_run.h"
#include "gltf_rig.h"
#include "import/import_file.h"
#include "sim/materials.h"
#include "sim/scene_loader.h"
#include "sim/scene_writer.h"
#include "sim/textures.h"
#include "sim/scene_compare.h"
#include "support/sim_helpers.h"
#include "support/temp_dir.h"

namespace {

using importtest::GltfRig;

constexpr float kEps = 1e-5f;

struct Imported {
    qeltest::TempDir dir;
    import::ImportResult result;
    sim::Scene& scene() { return *result.scene; }
    host::Node* node(const std::string& name) { return qeltest::NodeNamed(scene(), name); }
};

std::unique_ptr<Imported> ImportRig(const std::function<std::string(const GltfRig&, const std::string&)>& write) {
    auto imported = std::make_unique<Imported>();
    imported->result = import::ImportFile(write(importtest::MakeGltfRig(), imported->dir.path()));
    return imported;
}

// The differences of two scenes imported from different files: their own
// file names and folders aside.
std::vector<std::string> Differences(const sim::Scene& a, const sim::Scene& b) {
    std::vector<std::string> lines = simtest::SceneDifferences(a, b);
    std::erase_if(lines, [](const std::string& line) { return line == "scene: file path differs" || line == "scene: paths differs"; });
    return lines;
}

std::unique_ptr<Imported> ImportRig() { return ImportRig(importtest::WriteGltfExternal); }

void ExpectPoint(const host::Point3& actual, const host::Point3& expected, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, kEps) << what;
    EXPECT_NEAR(actual.y, expected.y, kEps) << what;
    EXPECT_NEAR(actual.z, expected.z, kEps) << what;
}

TEST(GltfImport, EveryFormOfTheFileGivesTheSameScene) {
    std::unique_ptr<Imported> external = ImportRig();
    std::unique_ptr<Imported> embedded = ImportRig(importtest::WriteGltfEmbedded);
    std::unique_ptr<Imported> binary = ImportRig(importtest::WriteGlb);
    EXPECT_EQ(Differences(external->scene(), embedded->scene()), std::vector<std::string>());
    EXPECT_EQ(Differences(external->scene(), binary->scene()), std::vector<std::string>());
    EXPECT_EQ(external->result.warnings, std::vector<std::string>());
    // What qelimport writes loads back as the same scene.
    std::unique_ptr<sim::Scene> reloaded = sim::LoadSceneText(sim::SceneText(binary->scene()));
    EXPECT_EQ(simtest::SceneDifferences(binary->scene(), *reloaded), std::vector<std::string>());
}

TEST(GltfImport, NodesKeepTheirTreeNamesAndUserProperties) {
    std::unique_ptr<Imported> rig = ImportRig();
    host::Node* root = rig->scene().GetRootNode();
    ASSERT_EQ(root->NumberOfChildren(), 1);
    host::Node* top = root->GetChildNode(0);
    EXPECT_EQ(top->GetName(), "Rig");
    std::vector<std::string> children;
    for (int i = 0; i < top->NumberOfChildren(); ++i) children.push_back(top->GetChildNode(i)->GetName());
    EXPECT_EQ(children, (std::vector<std::string>{"hip", "body", "cam", "lamp"}));
    EXPECT_EQ(rig->node("knee")->GetParentNode(), rig->node("hip"));
    // extras.props first (LF made CR LF), then the other scalar members in
    // the order of the file; the object member is left out.
    EXPECT_EQ(top->GetUserPropBuffer(), "Model=units/rig\r\nanimation=walk, everyone, 0-10\r\nweight=2\r\nlod=true\r\nnote=x\r\n");
    EXPECT_EQ(rig->node("hip")->GetUserPropBuffer(), "");
}

TEST(GltfImport, YUpMetresBecomeTheHostsZUp) {
    std::unique_ptr<Imported> rig = ImportRig();
    EXPECT_EQ(rig->scene().GetMasterScaleMeters(), 1.0);
    ExpectPoint(rig->node("hip")->GetNodeTM(0).GetTrans(), {0, 0, 1}, "hip");
    ExpectPoint(rig->node("knee")->GetNodeTM(0).GetTrans(), {0, 0, 2}, "knee");
    ExpectPoint(rig->node("cam")->GetNodeTM(0).GetTrans(), {0, -5, 1}, "cam");
    // A camera looks down its −z: the file's −z is the host's +y.
    ExpectPoint(rig->node("cam")->GetNodeTM(0).GetRow(2), {0, -1, 0}, "camera z axis");
    ExpectPoint(rig->node("cam")->GetNodeTM(0).GetRow(1), {0, 0, 1}, "camera y axis");
}

TEST(GltfImport, AnimationIsSampledOncePerFrame) {
    std::unique_ptr<Imported> rig = ImportRig();
    EXPECT_EQ(rig->scene().GetTicksPerFrame(), 160);
    EXPECT_EQ(rig->scene().GetAnimRange().Start(), 0);
    EXPECT_EQ(rig->scene().GetAnimRange().End(), 10 * 160);  // 1/3 s at 30 frames per second
    const auto* knee = dynamic_cast<sim::SimNode*>(rig->node("knee"));
    ASSERT_NE(knee, nullptr);
    EXPECT_EQ(knee->Transform().Keys().size(), 11u);
    EXPECT_TRUE(rig->node("hip") && dynamic_cast<sim::SimNode*>(rig->node("hip"))->Transform().IsConstant());
    for (int frame : {0, 5, 10}) {
        host::Matrix3 expected = host::Matrix3::RotateX(float(M_PI / 2 * frame / 10));
        expected.SetTrans({0, 0, 1});
        EXPECT_TRUE(knee->Transform().Eval(frame * 160).Equals(expected, kEps)) << "frame " << frame;
    }
}

TEST(GltfImport, SkinIsPosedAtFrameZero) {
    std::unique_ptr<Imported> rig = ImportRig();
    host::Node* body = rig->node("body");
    host::Skin* skin = body->GetSkin();
    ASSERT_NE(skin, nullptr);
    ASSERT_EQ(skin->NumBones(), 2);
    EXPECT_EQ(skin->GetBone(0), rig->node("hip"));
    EXPECT_EQ(skin->GetBone(1), rig->node("knee"));
    ASSERT_EQ(skin->NumVertices(), 4);
    EXPECT_EQ(skin->NumAssignedBones(2), 1);
    EXPECT_EQ(skin->GetAssignedBone(2, 0), 1);
    EXPECT_EQ(skin->GetBoneWeight(2, 0), 1.0f);
    // Bound at the origin, the mesh stands at frame 0 where its bones are:
    // the lower edge moves with hip (z + 1), the upper with knee (z + 2).
    std::unique_ptr<host::TriMesh> mesh = body->GetObjectRef()->ConvertToTriMesh(0);
    ASSERT_EQ(mesh->NumVerts(), 4);
    ASSERT_EQ(mesh->NumFaces(), 2);
    ExpectPoint(mesh->GetVert(0), {-0.5f, 0, 1}, "vertex 0");
    ExpectPoint(mesh->GetVert(2), {0.5f, 0, 4}, "vertex 2");
    // At frame 10 knee has turned 90° about x: the upper edge swings to −y.
    std::unique_ptr<host::TriMesh> bent = body->EvalWorldState(10 * 160)->ConvertToTriMesh(10 * 160);
    ExpectPoint(bent->GetVert(2), {0.5f, -2, 2}, "vertex 2 at frame 10");
    ExpectPoint(bent->GetVert(0), {-0.5f, 0, 1}, "vertex 0 at frame 10");
}

TEST(GltfImport, MeshChannelsMaterialsCamerasAndLights) {
    std::unique_ptr<Imported> rig = ImportRig();
    const auto* object = dynamic_cast<const sim::MeshObject*>(rig->node("body")->GetObjectRef());
    ASSERT_NE(object, nullptr);
    const sim::MeshData& mesh = object->Mesh();
    ASSERT_TRUE(mesh.channels.count(1));
    ExpectPoint(mesh.channels.at(1).verts[0], {0, 0, 0}, "uv 0 (v counted from the bottom)");
    ExpectPoint(mesh.channels.at(1).verts[2], {1, 1, 0}, "uv 2");
    ASSERT_TRUE(mesh.normals.has_value());
    ExpectPoint(mesh.normals->normals[0], {0, -1, 0}, "normal made z-up");
    EXPECT_TRUE(mesh.normals->isExplicit[0]);

    const auto* material = dynamic_cast<const sim::StandardMaterial*>(rig->node("body")->GetMtl());
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->GetName(), "skin");
    EXPECT_NEAR(material->GetValues().diffuse.g, 0.4f, kEps);
    EXPECT_TRUE(material->GetValues().twoSided);
    const auto* diffuse = dynamic_cast<const sim::BitmapTexture*>(material->GetSubTexmap(host::kMapDiffuse));
    ASSERT_NE(diffuse, nullptr);
    EXPECT_EQ(diffuse->File(), "d:/import/tex/skin.png");
    host::Texture* bump = material->GetSubTexmap(host::kMapBump);
    ASSERT_NE(bump, nullptr);
    EXPECT_EQ(bump->ClassID(), host::kNormalBumpClassId);
    const auto* normal = dynamic_cast<const sim::BitmapTexture*>(bump->GetSubTexmap(0));
    ASSERT_NE(normal, nullptr);
    EXPECT_EQ(normal->File(), "d:/import/tex/skin n.png");

    host::CameraState camera;
    ASSERT_TRUE(rig->node("cam")->GetObjectRef()->EvalCameraState(0, camera));
    EXPECT_NEAR(camera.fov, 2 * std::atan(std::tan(0.25) * 2), kEps);  // horizontal from yfov and aspect
    host::LightState light;
    ASSERT_TRUE(rig->node("lamp")->GetObjectRef()->EvalLightState(0, light));
    EXPECT_EQ(light.type, host::LightType::kSpot);
    EXPECT_NEAR(light.hotsize, 0.4 * 180 / M_PI, 1e-3);
    EXPECT_NEAR(light.fallsize, 0.8 * 180 / M_PI, 1e-3);
    EXPECT_TRUE(light.useFarAtten);
    EXPECT_EQ(light.farAttenEnd, 7.0f);
    EXPECT_NEAR(light.color.g, 0.5f, kEps);
}

TEST(GltfImport, ExportsAsAModelWithItsAnimation) {
    std::unique_ptr<Imported> rig = ImportRig(importtest::WriteGlb);
    qeltest::TempDir out;
    const importtest::ExportOutcome outcome = importtest::ExportScene(rig->scene(), out.path());
    for (const std::string& box : outcome.boxes) EXPECT_NE(box[0], 'E') << box;
    const std::vector<std::string>& files = outcome.files;
    EXPECT_NE(std::find(files.begin(), files.end(), "thegame/units/rig/rig.mdl"), files.end()) << testing::PrintToString(files);
    EXPECT_NE(std::find(files.begin(), files.end(), "thegame/units/rig/walk.anm"), files.end()) << testing::PrintToString(files);
    const std::string mdl = qeltest::ReadFile(out / "thegame/units/rig/rig.mdl");
    EXPECT_NE(mdl.find("hip"), std::string::npos);
    EXPECT_NE(mdl.find("knee"), std::string::npos);
}

TEST(GltfImport, EveryPrefixOfAGlbFailsCleanly) {
    const std::vector<unsigned char> bytes = importtest::GlbBytes(importtest::MakeGltfRig());
    qeltest::TempDir dir;
    for (size_t size = 0; size < bytes.size(); ++size) {
        try {
            import::ImportGltfBytes(bytes.data(), size, true, dir.path(), false);
            ADD_FAILURE() << "a prefix of " << size << " bytes imported";
        } catch (const import::ImportError& e) {
            EXPECT_NE(std::string(e.what()), "") << size;
        }
    }
    EXPECT_NO_THROW(import::ImportGltfBytes(bytes.data(), bytes.size(), true, dir.path(), false));
}

// One change to the rig's JSON and the error it must give.
struct BrokenCase {
    const char* name;
    std::function<void(nlohmann::json&)> change;
    const char* error;
};

TEST(GltfImport, BrokenFilesGiveOneClearError) {
    const std::vector<BrokenCase> cases = {
        {"accessor past its view", [](nlohmann::json& d) { d["accessors"][0]["count"] = 100; }, "elements lie outside their buffer view"},
        {"huge accessor", [](nlohmann::json& d) { d["accessors"][0]["count"] = 4000000000u; }, "too many elements"},
        {"view past its buffer", [](nlohmann::json& d) { d["bufferViews"][0]["byteOffset"] = 100000; }, ""},
        {"index out of range", [](nlohmann::json& d) { d["accessors"][0]["count"] = 2; }, "index 2 out of range (2 vertices)"},
        {"missing accessor", [](nlohmann::json& d) { d["meshes"][0]["primitives"][0]["attributes"]["NORMAL"] = 99; }, ""},
        {"wrong accessor type", [](nlohmann::json& d) { d["meshes"][0]["primitives"][0]["attributes"]["POSITION"] = 2; }, "expected 3 components"},
        {"joint outside the scene", [](nlohmann::json& d) { d["skins"][0]["joints"] = {1, 9}; }, ""},
        {"joint index past the skin", [](nlohmann::json& d) { d["skins"][0]["joints"] = {1}; }, "names joint 1 of 1"},
        {"node cycle", [](nlohmann::json& d) { d["nodes"][2]["children"] = {1}; }, ""},
        {"required extension", [](nlohmann::json& d) { d["extensionsRequired"] = {"EXT_unknown"}; }, "requires the extension EXT_unknown"},
        {"transform beyond what a scene file holds", [](nlohmann::json& d) { d["nodes"][1]["translation"] = {0, 1e31, 0}; },
         "node 1: a transform value is not a number in [-1e+30, 1e+30]"},
        {"glTF 1.0", [](nlohmann::json& d) { d["asset"]["version"] = "1.0"; }, "glTF version \"1.0\": only glTF 2.0 files are imported"},
        {"no asset", [](nlohmann::json& d) { d.erase("asset"); }, "not a readable glTF file"},
    };
    const GltfRig rig = importtest::MakeGltfRig();
    for (const BrokenCase& c : cases) {
        nlohmann::json doc = nlohmann::json::parse(rig.json);
        c.change(doc);
        GltfRig broken = rig;
        broken.json = doc.dump();
        const std::vector<unsigned char> bytes = importtest::GlbBytes(broken);
        qeltest::TempDir dir;
        try {
            import::ImportGltfBytes(bytes.data(), bytes.size(), true, dir.path(), false);
            ADD_FAILURE() << c.name << ": imported";
        } catch (const import::ImportError& e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << c.name << ": " << e.what();
        }
    }
}

TEST(GltfImport, AFileThatIsNotGltfIsRefused) {
    qeltest::TempDir dir;
    qeltest::WriteFile(dir / "a.glb", "glTF but not really");
    EXPECT_THROW(import::ImportFile(dir / "a.glb"), import::ImportError);
    qeltest::WriteFile(dir / "a.obj", "v 0 0 0\n");
    try {
        import::ImportFile(dir / "a.obj");
        ADD_FAILURE() << "imported";
    } catch (const import::ImportError& e) {
        EXPECT_STREQ(e.what(), "not an FBX or glTF file (expected .fbx, .gltf or .glb)");
    }
    EXPECT_THROW(import::ImportFile(dir / "missing.gltf"), import::ImportError);
    EXPECT_THROW(import::ImportFile(dir.path() + "/"), import::ImportError);
}

}  // namespace
