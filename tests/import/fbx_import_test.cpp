// The FBX import on files made by the tests: what reaches the host, pivots
// folded into their nodes, a whole export, and every prefix of a file.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "export_run.h"
#include "fbx_rig.h"
#include "import/import_file.h"
#include "import/scene_builder.h"
#include "sim/materials.h"
#include "sim/scene_loader.h"
#include "sim/scene_writer.h"
#include "sim/scene_compare.h"
#include "sim/textures.h"
#include "support/sim_helpers.h"
#include "support/temp_dir.h"

// The FBX reader (Assimp 5.2) leaks what it had parsed when it gives up on
// some malformed files, as the truncation loop below makes it do; the leak
// is the library's own, so LeakSanitizer is told to pass over it here.
extern "C" const char* __lsan_default_suppressions() { return "leak:libassimp.so\n"; }

namespace {

constexpr float kEps = 1e-4f;

struct Imported {
    qeltest::TempDir dir;
    import::ImportResult result;
    sim::Scene& scene() { return *result.scene; }
    host::Node* node(const std::string& name) { return qeltest::NodeNamed(scene(), name); }
};

std::unique_ptr<Imported> ImportText(const std::string& text) {
    auto imported = std::make_unique<Imported>();
    qeltest::WriteFile(imported->dir / "rig.fbx", text);
    imported->result = import::ImportFile(imported->dir / "rig.fbx");
    return imported;
}

void ExpectPoint(const host::Point3& actual, const host::Point3& expected, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, kEps) << what;
    EXPECT_NEAR(actual.y, expected.y, kEps) << what;
    EXPECT_NEAR(actual.z, expected.z, kEps) << what;
}

TEST(FbxImport, UserPropertyLineEndsBecomeTheHostsCrLf) {
    const std::pair<const char*, const char*> cases[] = {
        {"a=1\r\nb=2\r\n", "a=1\r\nb=2\r\n"},
        {"a=1\nb=2", "a=1\r\nb=2"},
        {"a=1&cr;&lf;b=2&cr;&lf;", "a=1\r\nb=2\r\n"},
        {"a=1\r\nb=2\nc=3&cr;&lf;", "a=1\r\nb=2\r\nc=3\r\n"},
        {"lone\rcr &cr; &lf;", "lone\rcr &cr; &lf;"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(import::HostLineEnds(text), expected) << text;
}

TEST(FbxImport, NodesUserPropertiesUnitsAndTime) {
    std::unique_ptr<Imported> rig = ImportText(importtest::FbxRigText());
    host::Node* top = rig->node("Rig");
    ASSERT_NE(top, nullptr);
    std::vector<std::string> children;
    for (int i = 0; i < top->NumberOfChildren(); ++i) children.push_back(top->GetChildNode(i)->GetName());
    EXPECT_EQ(children, (std::vector<std::string>{"hip", "body", "arm", "cam", "cam.Target", "lamp"}));
    EXPECT_EQ(rig->node("knee")->GetParentNode(), rig->node("hip"));
    for (const sim::SimNode* node : rig->scene().Nodes()) EXPECT_EQ(node->GetName().find("$AssimpFbx$"), std::string::npos);
    EXPECT_EQ(top->GetUserPropBuffer(), "Model=units/fbxrig\r\nanimation=walk, everyone, 0-10\r\n");
    EXPECT_NEAR(rig->scene().GetMasterScaleMeters(), 0.0254, 1e-9);
    EXPECT_EQ(rig->scene().GetAnimRange().Start(), 0);
    EXPECT_EQ(rig->scene().GetAnimRange().End(), 10 * 160);
    // The reader cuts a user property text at 1023 bytes: a node whose text
    // reaches that is named.
    EXPECT_EQ(rig->node("lamp")->GetUserPropBuffer().rfind("Note=xxxxxxxx", 0), 0u);
    EXPECT_EQ(rig->result.warnings,
              std::vector<std::string>{"node \"lamp\": its user property text reaches 1023 bytes, where the FBX reader cuts it; the rest is lost"});
}

TEST(FbxImport, AnimationIsSampledOncePerFrameAndPivotsFoldIntoTheirNode) {
    std::unique_ptr<Imported> rig = ImportText(importtest::FbxRigText());
    const auto* knee = dynamic_cast<sim::SimNode*>(rig->node("knee"));
    ASSERT_NE(knee, nullptr);
    EXPECT_EQ(knee->Transform().Keys().size(), 11u);
    for (int frame : {0, 5, 10}) {
        host::Matrix3 expected = host::Matrix3::RotateX(float(M_PI / 2 * frame / 10));
        expected.SetTrans({0, 0, 10});
        EXPECT_TRUE(knee->Transform().Eval(frame * 160).Equals(expected, kEps)) << "frame " << frame;
    }
    // arm turns about z around its pivot (0, 5, 0): the pivot stays put.
    host::Node* arm = rig->node("arm");
    for (int frame : {0, 5, 10}) ExpectPoint(host::Point3(0, 5, 0) * arm->GetNodeTM(frame * 160), {10, 5, 0}, "pivot");
    ExpectPoint(host::Point3(0, 6, 0) * arm->GetNodeTM(10 * 160), {9, 5, 0}, "a point beside the pivot at frame 10");
    ExpectPoint(host::Point3(0, 6, 0) * arm->GetNodeTM(0), {10, 6, 0}, "the same point at frame 0");
}

TEST(FbxImport, MeshMaterialsAndSkin) {
    std::unique_ptr<Imported> rig = ImportText(importtest::FbxRigText());
    host::Node* body = rig->node("body");
    const auto* object = dynamic_cast<const sim::MeshObject*>(body->GetObjectRef());
    ASSERT_NE(object, nullptr);
    const sim::MeshData& mesh = object->Mesh();
    ASSERT_EQ(mesh.faces.size(), 2u);
    EXPECT_NE(mesh.faces[0].MaterialId(), mesh.faces[1].MaterialId());
    EXPECT_TRUE(mesh.channels.count(1) && mesh.channels.count(host::kMapColor) && mesh.channels.count(host::kMapAlpha));
    ASSERT_TRUE(mesh.normals.has_value());
    for (const host::Point3& n : mesh.normals->normals) ExpectPoint(n, {0, -1, 0}, "normal");

    host::Material* multi = body->GetMtl();
    ASSERT_NE(multi, nullptr);
    ASSERT_TRUE(multi->IsMultiMtl());
    ASSERT_EQ(multi->NumSubMtls(), 2);
    std::vector<std::string> names{multi->GetSubMtl(0)->GetName(), multi->GetSubMtl(1)->GetName()};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"blue", "red"}));
    const host::Material* red = multi->GetSubMtl(0)->GetName() == "red" ? multi->GetSubMtl(0) : multi->GetSubMtl(1);
    auto file = [](const host::Texture* texture) {
        const auto* bitmap = dynamic_cast<const sim::BitmapTexture*>(texture);
        return bitmap ? bitmap->File() : std::string("(none)");
    };
    EXPECT_EQ(file(red->GetSubTexmap(host::kMapDiffuse)), "d:/import/maps/red.png");
    EXPECT_EQ(file(red->GetSubTexmap(host::kMapSpecularLevel)), "d:/import/maps/shine.png");
    EXPECT_EQ(file(red->GetSubTexmap(host::kMapOpacity)), "d:/import/maps/red_a.png");
    const host::Texture* bump = red->GetSubTexmap(host::kMapBump);
    ASSERT_NE(bump, nullptr);
    EXPECT_EQ(bump->ClassID(), host::kNormalBumpClassId);
    EXPECT_EQ(file(bump->GetSubTexmap(0)), "d:/import/maps/red_n.png");
    EXPECT_NEAR(dynamic_cast<const sim::StandardMaterial*>(red)->GetValues().diffuse.r, 0.8f, kEps);

    host::Skin* skin = body->GetSkin();
    ASSERT_NE(skin, nullptr);
    ASSERT_EQ(skin->NumBones(), 2);
    EXPECT_EQ(skin->NumVertices(), int(mesh.verts.size()));
    // Bound as it stands at frame 0; at frame 10 knee has turned 90° about x,
    // so the top edge (z 30, 10 above knee) swings to y −10 at knee's height.
    std::unique_ptr<host::TriMesh> rest = body->EvalWorldState(0)->ConvertToTriMesh(0);
    std::unique_ptr<host::TriMesh> bent = body->EvalWorldState(10 * 160)->ConvertToTriMesh(10 * 160);
    int tops = 0;
    for (int v = 0; v < rest->NumVerts(); ++v) {
        const host::Point3 p = rest->GetVert(v);
        if (std::fabs(p.z - 30) < kEps) {
            ExpectPoint(bent->GetVert(v), {p.x, -10, 20}, "top vertex " + std::to_string(v));
            ++tops;
        } else {
            ExpectPoint(bent->GetVert(v), p, "bottom vertex " + std::to_string(v));
        }
    }
    EXPECT_GE(tops, 2);
}

TEST(FbxImport, CamerasAimAtTheirTargetAndLightsKeepTheirCones) {
    std::unique_ptr<Imported> rig = ImportText(importtest::FbxRigText());
    host::Node* cam = rig->node("cam");
    EXPECT_EQ(cam->GetTarget(), rig->node("cam.Target"));
    EXPECT_EQ(cam->GetObjectRef()->ClassID(), host::kTargetCameraClassId);
    host::CameraState camera;
    ASSERT_TRUE(cam->GetObjectRef()->EvalCameraState(0, camera));
    EXPECT_NEAR(camera.fov, M_PI / 3, 1e-5);
    // Looking at the target: −z toward it.
    ExpectPoint(cam->GetNodeTM(0).GetRow(2), {0, -1, 0}, "camera z axis");
    host::LightState light;
    ASSERT_TRUE(rig->node("lamp")->GetObjectRef()->EvalLightState(0, light));
    EXPECT_EQ(light.type, host::LightType::kSpot);
    EXPECT_NEAR(light.hotsize, 30, 1e-3);
    EXPECT_NEAR(light.fallsize, 50, 1e-3);
    EXPECT_NEAR(light.color.b, 0.25f, kEps);
}

TEST(FbxImport, AxesAndUnitsOfTheFileBecomeTheHosts) {
    for (int up : {1, 2}) {
        std::unique_ptr<Imported> file = ImportText(importtest::SmallFbxText(up));
        EXPECT_NEAR(file->scene().GetMasterScaleMeters(), 1.0, 1e-9);
        host::Node* box = file->node("box");
        ASSERT_NE(box, nullptr) << up;
        ExpectPoint(box->GetNodeTM(0).GetTrans(), {0, 0, 10}, "box, up axis " + std::to_string(up));
        std::unique_ptr<host::TriMesh> mesh = box->GetObjectRef()->ConvertToTriMesh(0);
        ASSERT_EQ(mesh->NumFaces(), 1);
        // The triangle's third corner lies along the file's y axis.
        host::Point3 corner;
        for (int v = 0; v < mesh->NumVerts(); ++v)
            if (mesh->GetVert(v).Length() > 0.5f && std::fabs(mesh->GetVert(v).x) < kEps) corner = mesh->GetVert(v);
        ExpectPoint(corner, up == 1 ? host::Point3(0, 0, 1) : host::Point3(0, 1, 0), "corner, up axis " + std::to_string(up));
    }
}

TEST(FbxImport, ExportsAsAModelAndRoundTripsAsASceneFile) {
    std::unique_ptr<Imported> rig = ImportText(importtest::FbxRigText());
    std::unique_ptr<sim::Scene> reloaded = sim::LoadSceneText(sim::SceneText(rig->scene()));
    EXPECT_EQ(simtest::SceneDifferences(rig->scene(), *reloaded), std::vector<std::string>());
    qeltest::TempDir out;
    const importtest::ExportOutcome outcome = importtest::ExportScene(rig->scene(), out.path());
    for (const std::string& box : outcome.boxes) EXPECT_NE(box[0], 'E') << box;
    const std::vector<std::string>& files = outcome.files;
    EXPECT_NE(std::find(files.begin(), files.end(), "thegame/units/fbxrig/fbxrig.mdl"), files.end()) << testing::PrintToString(files);
    EXPECT_NE(std::find(files.begin(), files.end(), "thegame/units/fbxrig/walk.anm"), files.end()) << testing::PrintToString(files);
}

// The host writes binary FBX by default. The reader's own writer makes files
// its reader refuses (block offsets out of range), so the binary case takes
// the smallest binary file of Debian's test models.
TEST(FbxImport, EveryPrefixOfABinaryFileFailsCleanlyOrImports) {
    const std::string path = "/usr/share/assimp/models/FBX/box.fbx";
    std::ifstream in(path, std::ios::binary);
    if (!in) GTEST_SKIP() << path << " is absent (Debian package assimp-testmodels)";
    const std::string binary((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(binary.compare(0, 18, "Kaydara FBX Binary"), 0);
    qeltest::TempDir dir;
    size_t refused = 0;
    for (size_t size = 0; size < binary.size(); ++size) {
        try {
            import::ImportFbxBytes(reinterpret_cast<const unsigned char*>(binary.data()), size, dir.path());
        } catch (const import::ImportError& e) {
            EXPECT_NE(std::string(e.what()), "") << size;
            ++refused;
        }
    }
    EXPECT_GT(refused, binary.size() / 2);
    const import::ImportResult whole =
        import::ImportFbxBytes(reinterpret_cast<const unsigned char*>(binary.data()), binary.size(), dir.path());
    EXPECT_EQ(whole.scene->Nodes().size(), 1u);
}

TEST(FbxImport, EveryPrefixOfAFileFailsCleanlyOrImports) {
    const std::string text = importtest::SmallFbxText(2);
    qeltest::TempDir dir;
    size_t refused = 0;
    for (size_t size = 0; size < text.size(); ++size) {
        try {
            import::ImportFbxBytes(reinterpret_cast<const unsigned char*>(text.data()), size, dir.path());
        } catch (const import::ImportError& e) {
            EXPECT_NE(std::string(e.what()), "") << size;
            ++refused;
        }
    }
    EXPECT_GT(refused, text.size() / 2);
    EXPECT_NO_THROW(import::ImportFbxBytes(reinterpret_cast<const unsigned char*>(text.data()), text.size(), dir.path()));
}

}  // namespace
