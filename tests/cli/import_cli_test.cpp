// qelimport as a user runs it, and qelexport given an interchange file.
#include <gtest/gtest.h>

#include "import/fbx_rig.h"
#include "import/gltf_rig.h"

#include "sim/scene_loader.h"
#include "workspace.h"

namespace {

using qeltest::Outcome;
using qeltest::Workspace;

bool Holds(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

Outcome Import(const Workspace& ws, const qeltest::Strings& args) { return ws.RunProgram(QELIMPORT_BINARY, args); }

TEST(Qelimport, WritesTheImportedSceneAsASceneFile) {
    Workspace ws;
    importtest::WriteGlb(importtest::MakeGltfRig(), ws / "");
    Outcome o = Import(ws, {"rig.glb", "-o", "named.qscene.json"});
    ASSERT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.err, "");
    std::unique_ptr<sim::Scene> scene = sim::LoadSceneFile(ws / "named.qscene.json");
    ASSERT_EQ(scene->GetRootNode()->NumberOfChildren(), 1);
    EXPECT_EQ(scene->GetRootNode()->GetChildNode(0)->GetUserPropBuffer(),
              "Model=units/rig\r\nanimation=walk, everyone, 0-10\r\nweight=2\r\nlod=true\r\nnote=x\r\n");
    EXPECT_EQ(scene->GetAnimRange().End(), 10 * 160);
    // Without -o the scene file goes beside the input, the same bytes.
    o = Import(ws, {"rig.glb"});
    EXPECT_EQ(o.exitCode, 0) << o.err;
    ASSERT_TRUE(qeltest::Exists(ws / "rig.qscene.json"));
    EXPECT_EQ(qeltest::ReadFile(ws / "rig.qscene.json"), qeltest::ReadFile(ws / "named.qscene.json"));
}

TEST(Qelimport, InputThatCannotBeImportedIsOneErrorAndExitCode2) {
    Workspace ws;
    qeltest::WriteFile(ws / "garbage.fbx", "this is no FBX file at all");
    qeltest::WriteFile(ws / "garbage.glb", "glTF?");
    qeltest::WriteFile(ws / "model.obj", "v 0 0 0\n");
    struct Case {
        const char* file;
        const char* err;
    } cases[] = {
        {"missing.fbx", "qelimport: missing.fbx: cannot open the file\n"},
        {"model.obj", "qelimport: model.obj: not an FBX or glTF file (expected .fbx, .gltf or .glb)\n"},
        {"garbage.fbx", "qelimport: garbage.fbx: not a readable FBX file: "},
        {"garbage.glb", "qelimport: garbage.glb: not a readable glTF file: "},
    };
    for (const Case& c : cases) {
        Outcome o = Import(ws, {c.file, "-o", "out.qscene.json"});
        EXPECT_EQ(o.exitCode, 2) << c.file;
        EXPECT_EQ(o.err.rfind(c.err, 0), 0u) << o.err;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
        EXPECT_FALSE(qeltest::Exists(ws / "out.qscene.json")) << c.file;
    }
    // An output that cannot be written.
    importtest::WriteGlb(importtest::MakeGltfRig(), ws / "");
    Outcome o = Import(ws, {"rig.glb", "-o", "missing/out.qscene.json"});
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_TRUE(Holds(o.err, "qelimport: cannot write missing/out.qscene.json")) << o.err;
}

TEST(Qelimport, HelpExplainsWhatIsCarried) {
    Workspace ws;
    Outcome o = Import(ws, {"--help"});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_TRUE(Holds(o.out, "FBX")) << o.out;
    EXPECT_TRUE(Holds(o.out, "d:/import/")) << o.out;
    EXPECT_TRUE(Holds(o.out, "Exit codes")) << o.out;
    o = Import(ws, {});
    EXPECT_EQ(o.exitCode, 2);
}

TEST(Qelimport, QelexportExportsAnFbxFile) {
    Workspace ws;
    qeltest::WriteFile(ws / "rig.fbx", importtest::FbxRigText());
    Outcome o = ws.Run({"rig.fbx", "--no-prompts", "--config", "cfg.bin", "--map", "d:/thegame/=out/"});
    EXPECT_EQ(o.exitCode, 0) << o.err;
    // The lamp's user property text is cut by the FBX reader: said once, not fatal.
    EXPECT_TRUE(Holds(o.err, "qelexport: rig.fbx: warning: node \"lamp\": its user property text reaches 1023 bytes")) << o.err;
    EXPECT_TRUE(qeltest::Exists(ws / "out/units/fbxrig/fbxrig.mdl")) << testing::PrintToString(ws.Files());
    EXPECT_TRUE(qeltest::Exists(ws / "out/units/fbxrig/walk.anm")) << testing::PrintToString(ws.Files());
}

TEST(Qelimport, QelexportExportsAGlbFile) {
    Workspace ws;
    importtest::WriteGlb(importtest::MakeGltfRig(), ws / "");
    Outcome o = ws.Run({"rig.glb", "--no-prompts", "--config", "cfg.bin", "--map", "d:/thegame/=out/"});
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_TRUE(qeltest::Exists(ws / "out/units/rig/rig.mdl")) << testing::PrintToString(ws.Files());
    EXPECT_TRUE(qeltest::Exists(ws / "out/units/rig/walk.anm")) << testing::PrintToString(ws.Files());
    qeltest::WriteFile(ws / "broken.gltf", "{");
    o = ws.Run({"broken.gltf", "--no-prompts", "--config", "cfg.bin"});
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_EQ(o.err.rfind("qelexport: broken.gltf: not a readable glTF file: ", 0), 0u) << o.err;
}

}  // namespace
