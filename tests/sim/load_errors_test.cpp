#include <gtest/gtest.h>

#include "sim/plugin_material.h"
#include "sim/test_scene.h"
#include "support/temp_dir.h"

namespace {

struct BadScene {
    const char* members;  // top-level members after format and version
    const char* pointer;
    const char* reason_part;
};

void ExpectLoadError(const BadScene& c) {
    try {
        sim::SceneFromJson(c.members);
        ADD_FAILURE() << "loaded: " << c.members;
    } catch (const sim::LoadError& error) {
        EXPECT_EQ(error.Pointer(), c.pointer) << c.members << "\n" << error.what();
        EXPECT_NE(error.Reason().find(c.reason_part), std::string::npos) << error.Reason();
    }
}

TEST(SceneLoadErrorTest, MalformedJsonAndWrongTopLevel) {
    const BadScene cases[] = {
        {R"("nodes": [)", "", "malformed JSON"},
        {R"("nodes": [], "nodes": [])", "/nodes", "duplicate key"},
        {R"("nodes": [], "nodez": [])", "/nodez", "unknown key"},
        {R"("extra": {"anything": 1})", "/nodes", "required key is missing"},
        {R"("nodes": {})", "/nodes", "expected an array"},
        {R"("nodes": [], "time": {"end": -5})", "/time/end", "before the start"},
        {R"("nodes": [], "time": {"ticksPerFrame": 0})", "/time/ticksPerFrame", "out of range"},
        {R"("nodes": [], "units": {"masterScale": 1e999})", "/units/masterScale", "number overflow"},
    };
    for (const BadScene& c : cases) ExpectLoadError(c);
    ExpectLoadError({"\"nodes\": [], \"file\": NaN", "", "malformed JSON"});
}

TEST(SceneLoadErrorTest, FormatAndVersionAreChecked) {
    struct Case {
        const char* text;
        const char* pointer;
    } cases[] = {{R"({"format": "other", "version": 1, "nodes": []})", "/format"},
                 {R"({"format": "qel-scene", "version": 2, "nodes": []})", "/version"},
                 {R"({"version": 1, "nodes": []})", "/format"},
                 {R"([1, 2])", ""}};
    for (const Case& c : cases) {
        try {
            sim::LoadSceneText(c.text);
            ADD_FAILURE() << c.text;
        } catch (const sim::LoadError& error) {
            EXPECT_EQ(error.Pointer(), c.pointer) << c.text;
        }
    }
}

TEST(SceneLoadErrorTest, WrongTypesAndUnknownKeysInNodes) {
    const BadScene cases[] = {
        {R"("nodes": [{"name": 5}])", "/nodes/0/name", "expected a string"},
        {R"("nodes": [{}])", "/nodes/0/name", "required key is missing"},
        {R"("nodes": [{"name": "a", "hiden": true}])", "/nodes/0/hiden", "unknown key"},
        {R"("nodes": [{"name": "a", "children": [{"name": "b", "group": "leader"}]}])", "/nodes/0/children/0/group", "expected"},
        {R"("nodes": [{"name": "a", "transform": {"matrix": [1, 0, 0]}}])", "/nodes/0/transform/matrix", "12 numbers"},
        {R"("nodes": [{"name": "a", "transform": {"pos": [0, "x", 0]}}])", "/nodes/0/transform/pos/1", "expected a number"},
        {R"("nodes": [{"name": "a", "keys": {"ten": {}}}])", "/nodes/0/keys/ten", "not a frame number"},
        {R"("nodes": [{"name": "a", "keys": {"99999999": {}}}])", "/nodes/0/keys/99999999", "out of range"},
        {R"("nodes": [{"name": "a", "object": {"type": "teapot"}}])", "/nodes/0/object/type", "unknown object type"},
        {R"("nodes": [{"name": "a", "object": "nowhere"}])", "/nodes/0/object", "unknown object id"},
        {R"("nodes": [{"name": "a", "extra": {"free": [1, 2]}}])", "", ""},
    };
    for (size_t i = 0; i + 1 < std::size(cases); ++i) ExpectLoadError(cases[i]);
    EXPECT_NO_THROW(sim::SceneFromJson(cases[std::size(cases) - 1].members));
}

TEST(SceneLoadErrorTest, OutOfRangeIndices) {
    const BadScene cases[] = {
        {R"("nodes": [{"name": "m", "object": {"type": "mesh", "vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0, 1, 3]]}}])",
         "/nodes/0/object/faces/0/2", "out of range"},
        {R"("nodes": [{"name": "m", "object": {"type": "mesh", "vertices": [[0,0,0]], "faces": [[0, 0, -1]]}}])",
         "/nodes/0/object/faces/0/2", "out of range"},
        {R"("nodes": [{"name": "m", "object": {"type": "mesh", "vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]],
            "channels": {"1": {"vertices": [[0,0,0]], "faces": [[0,0,1]]}}}}])",
         "/nodes/0/object/channels/1/faces/0/2", "out of range"},
        {R"("nodes": [{"name": "m", "object": {"type": "mesh", "vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]],
            "channels": {"100": {"vertices": [], "faces": []}}}}])",
         "/nodes/0/object/channels/100", "unknown map channel"},
        {R"("nodes": [{"name": "m", "object": {"type": "mesh", "vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]],
            "hiddenFaces": [1]}}])",
         "/nodes/0/object/hiddenFaces/0", "out of range"},
        {R"("nodes": [{"name": "m", "object": {"type": "mesh", "vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]],
            "normals": {"normals": [[0,0,1]], "faces": [[0,0,1]]}}}])",
         "/nodes/0/object/normals/faces/0/2", "out of range"},
        {R"("nodes": [{"name": "bone"}, {"name": "m", "object": {"type": "mesh", "vertices": [[0,0,0]], "faces": []},
            "skin": {"bones": ["bone"], "weights": [[[1, 1.0]]]}}])",
         "/nodes/1/skin/weights/0/0/0", "bone position out of range"},
        {R"("nodes": [{"name": "m", "object": {"type": "mesh", "vertices": [[0,0,0]], "faces": []},
            "skin": {"bones": ["ghost"], "weights": [[]]}}])",
         "/nodes/0/skin/bones/0", "no node has this name"},
        {R"("nodes": [{"name": "a"}], "selectionSets": [{"name": "legs", "nodes": ["a", "b"]}])",
         "/selectionSets/0/nodes/1", "no node has this name"},
        {R"("nodes": [{"name": "m", "object": {"type": "mesh", "vertices": [[0,0,0]], "faces": [], "frames": {"5": []}}}])",
         "/nodes/0/object/frames/5", "one position per vertex"},
    };
    for (const BadScene& c : cases) ExpectLoadError(c);
}

TEST(SceneLoadErrorTest, BrokenAlphaChannelLoads) {
    auto scene = sim::SceneFromJson(R"("nodes": [{"name": "m", "object": {"type": "mesh",
        "vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]],
        "channels": {"-2": {"vertices": [[1,1,1]], "faces": [[0, 5, 0]]}}}}])");
    host::Object* object = scene->GetRootNode()->GetChildNode(0)->EvalWorldState(0);
    auto mesh = object->ConvertToTriMesh(0);
    EXPECT_EQ(mesh->NumMapVerts(host::kMapAlpha), 1);
    EXPECT_EQ(mesh->GetMapFace(host::kMapAlpha, 0).t[1], 5u);
}

TEST(SceneLoadErrorTest, UnknownIdsDuplicatesAndCycles) {
    const BadScene cases[] = {
        {R"("nodes": [{"name": "a", "material": "m1"}])", "/nodes/0/material", "unknown material id"},
        {R"("materials": {"m": {"type": "standard", "maps": {"diffuse": {"texture": "t"}}}}, "nodes": [])",
         "/materials/m/maps/diffuse/texture", "unknown texture id"},
        {R"("materials": {"a": {"type": "multi", "materials": ["b"]}, "b": {"type": "multi", "materials": ["a"]}}, "nodes": [])",
         "/materials/b/materials/0", "refers to itself"},
        {R"("textures": {"t": {"type": "mix", "maps": ["t"]}}, "nodes": [])", "/textures/t/maps/0", "refers to itself"},
        {R"("objects": {"o": {"type": "helper"}, "o": {"type": "box"}}, "nodes": [])", "/objects/o", "duplicate key"},
        {R"("materials": {"m": {"type": "twoLayer", "materials": ["m2"]}}, "nodes": [])", "/materials/m/materials", "2 material ids"},
        {R"("materials": {"m": {"type": "CorvaneMtl"}}, "nodes": [])", "/materials/m/type", "CorvaneMtl is not available"},
    };
    for (const BadScene& c : cases) ExpectLoadError(c);
}

TEST(SceneLoadErrorTest, TextOutsideCodePage1251) {
    const BadScene cases[] = {
        {"\"nodes\": [{\"name\": \"\xE4\xB8\xAD\"}]", "/nodes/0/name", "code page 1251"},
        {"\"nodes\": [], \"file\": \"d:/\xC3\xA9t\xC3\xA9.max\"", "/file", "code page 1251"},
        {"\"nodes\": [{\"name\": \"a\", \"props\": \"x=\xF0\x9F\x98\x80\"}]", "/nodes/0/props", "code page 1251"},
        {"\"textures\": {\"\xE4\xB8\xAD\": {\"type\": \"checker\"}}, \"nodes\": []", "/textures/\xE4\xB8\xAD", "code page 1251"},
    };
    for (const BadScene& c : cases) ExpectLoadError(c);
    auto scene = sim::SceneFromJson("\"nodes\": [{\"name\": \"\xD0\x91\xD0\xB0\xD1\x88\xD0\xBD\xD1\x8F\"}]");
    EXPECT_EQ(scene->GetRootNode()->GetChildNode(0)->GetName(), "\xC1\xE0\xF8\xED\xFF");
}

TEST(SceneLoadErrorTest, AbsurdSizesAreRefusedBeforeAllocation) {
    const BadScene cases[] = {
        {R"("nodes": [{"name": "s", "object": {"type": "sphere", "radius": 1, "segments": 1000000000}}])",
         "/nodes/0/object/segments", "out of range"},
        {R"("nodes": [{"name": "b", "object": {"type": "box", "segments": [1, 1e9, 1]}}])", "/nodes/0/object/segments/1", "out of range"},
        {R"("nodes": [{"name": "c", "object": {"type": "circle", "radius": 1, "points": 4000000000}}])",
         "/nodes/0/object/points", "out of range"},
        {R"("nodes": [{"name": "c", "object": {"type": "cylinder", "sides": 2.5}}])", "/nodes/0/object/sides", "whole number"},
        {R"("nodes": [{"name": "a", "visibility": {"1e300": 1}}])", "/nodes/0/visibility/1e300", "out of range"},
    };
    for (const BadScene& c : cases) ExpectLoadError(c);
    std::string deep = R"("nodes": [)";
    for (int i = 0; i < 300; ++i) deep += R"({"name": "n", "children": [)";
    for (int i = 0; i < 300; ++i) deep += "]}";
    deep += "]";
    EXPECT_THROW(sim::SceneFromJson(deep), sim::LoadError);
}

TEST(SceneLoadErrorTest, AFolderOrAMissingFileIsNamed) {
    qeltest::TempDir dir;
    struct Case {
        std::string path;
        const char* reason_part;
    } cases[] = {{dir.path(), "is a directory, not a scene file"}, {dir / "none.qscene.json", "cannot open the scene file"}};
    for (const Case& c : cases) {
        try {
            sim::LoadSceneFile(c.path);
            ADD_FAILURE() << c.path;
        } catch (const sim::LoadError& error) {
            EXPECT_EQ(error.Pointer(), "");
            EXPECT_NE(error.Reason().find(c.reason_part), std::string::npos) << error.Reason();
            EXPECT_NE(error.Reason().find(c.path), std::string::npos) << error.Reason();
        }
    }
}

TEST(SceneLoadErrorTest, NumbersBeyondADoubleNameTheirPointer) {
    std::string long_index(400, '9');
    const std::string mesh = R"("nodes": [{"name": "bone"}, {"name": "m", "object": {"type": "mesh", )";
    struct Case {
        std::string members;
        const char* pointer;
    } cases[] = {
        {mesh + R"("vertices": [[0,0,0], [1, 0, 1e400]], "faces": []}}])", "/nodes/1/object/vertices/1/2"},
        {mesh + R"("vertices": [[0,0,0]], "faces": [[0, )" + long_index + R"(, 0]]}}])", "/nodes/1/object/faces/0/1"},
        {mesh + R"("vertices": [[0,0,0]], "faces": []}, "skin": {"bones": ["bone"], "weights": [[[0, -2e308]]]}}])",
         "/nodes/1/skin/weights/0/0/1"},
        {R"("nodes": [{"name": "a", "transform": {"pos": [0, -1e999, 0]}}])", "/nodes/0/transform/pos/1"},
        {R"("nodes": [], "time": {"end": 1e309})", "/time/end"},
    };
    for (const Case& c : cases) {
        try {
            sim::SceneFromJson(c.members);
            ADD_FAILURE() << c.members;
        } catch (const sim::LoadError& error) {
            EXPECT_EQ(error.Pointer(), c.pointer) << error.what();
            EXPECT_NE(error.Reason().find("number overflow"), std::string::npos) << error.what();
        }
    }
    // A number too small for a double is not an error: it reads as 0.
    auto scene = sim::SceneFromJson(R"("nodes": [{"name": "a", "transform": {"pos": [1e-400, 0, 0]}}])");
    EXPECT_EQ(scene->GetRootNode()->GetChildNode(0)->GetNodeTM(0).GetTrans().x, 0.0f);
}

TEST(SceneLoadErrorTest, EveryTruncatedSceneFailsCleanly) {
    const std::string sample = qeltest::ReadFile(std::string(QEL_SOURCE_DIR) + "/samples/tank_yard.qscene.json");
    const std::string mesh = R"({"format": "qel-scene", "version": 1, "time": {"ticksPerFrame": 10},
        "nodes": [{"name": "bone", "keys": {"0": {"pos": [0, 0, 0]}, "2.5": {"rot": [0, 0, 90]}}},
                  {"name": "m", "props": "Poly\r\n", "visibility": {"0": 1, "5": 0.5}, "object": {"type": "mesh",
                   "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]], "smoothing": [3], "materialIds": [1],
                   "channels": {"1": {"vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]}},
                   "normals": {"normals": [[0,0,1]], "faces": [[0,0,0]], "explicit": [true]},
                   "frames": {"10": [[0,0,1], [1,0,1], [0,1,1]]}},
                   "skin": {"bones": ["bone"], "weights": [[[0, 1]], [[0, 0.5]], []]}}]})";
    // The sample holds CorvaneMtl materials: the stand-in plug-in class creates them.
    simtest::PluginClass plugin;
    sim::LoadOptions options;
    options.plugins.push_back(&plugin);
    for (const std::string& text : {sample, mesh}) {
        ASSERT_NO_THROW(sim::LoadSceneText(text, options));
        const size_t complete = text.find_last_of('}');
        for (size_t size = 0; size < complete; ++size) {
            try {
                sim::LoadSceneText(text.substr(0, size), options);
                ADD_FAILURE() << "loaded a prefix of " << size << " bytes";
            } catch (const sim::LoadError& error) {
                EXPECT_EQ(error.Pointer(), "") << error.what();
            }
        }
    }
}

}  // namespace
