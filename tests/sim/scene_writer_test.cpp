#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "sim/json_cursor.h"
#include "sim/json_writer.h"
#include "sim/plugin_material.h"
#include "sim/scene_compare.h"
#include "sim/scene_writer.h"
#include "sim/test_scene.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Every kind of object, material and texture the format holds, with shared
// objects, class overrides, animation, a skin, targets and selection sets.
const char* const kEverything = R"(
    "file": "d:/art/\u0431\u0430\u0437\u0430.max", "user": "artist", "units": {"masterScale": 0.0254},
    "time": {"ticksPerFrame": 160, "start": -5, "end": 60}, "ambient": [0.1, 0.2, 0.30000001],
    "paths": {"d:/-projects-/-bitmaps-/": "bitmaps", "D:/abs/": "/srv/abs"},
    "selectionSets": [{"name": "\u041d\u043e\u0433\u0438", "nodes": ["leg", "body"]}, {"name": "empty", "nodes": []}],
    "objects": {
      "crate": {"type": "box", "length": 10, "width": 12.5, "height": 0.1, "segments": [2, 3, 4]},
      "lamp": {"type": "light", "kind": "spot", "color": [1, 0.9, 0.7], "hotspot": 20, "falloff": 30.5,
               "farAttenuation": {"use": true, "end": 500}, "target": "body", "roll": 15},
      "odd": {"type": "helper", "classId": [305419896, 1], "superClass": 16}},
    "materials": {
      "std": {"type": "standard", "name": "\u0421\u0442\u0435\u043d\u0430", "diffuse": [0.5, 0.25, 1], "specular": [0, 0, 0],
              "specularLevel": 45, "shininessStrength": 0.3, "transparency": 0.25, "twoSided": true,
              "maps": {"diffuse": {"texture": "wall"}, "opacity": {"texture": "check", "amount": 50},
                       "bump": {"texture": "bump", "amount": 30, "enabled": false}}},
      "multi": {"type": "multi", "name": "M", "materials": ["std", null, "two"]},
      "two": {"type": "twoLayer", "materials": ["std", "corvane"]},
      "corvane": {"type": "CorvaneMtl", "name": "Shiny", "material": "std", "blend": 3, "modulate2x": true, "envmap": true,
                  "amount": 0.75, "mask": "check", "map": "vc"},
      "plain": {"type": "CorvaneMtl"},
      "unused": {"type": "standard"}},
    "textures": {
      "wall": {"type": "bitmap", "file": "d:/-projects-/-bitmaps-/stone/wall.tga", "alpha": true,
               "uv": {"channel": 2, "source": "objectXYZ", "tiling": [2, 3], "offset": [0.5, -0.25], "angle": 30}},
      "nofile": {"type": "bitmap", "name": "no file"},
      "bump": {"type": "normalBump", "normal": "wall"},
      "emptybump": {"type": "normalBump"},
      "mix": {"type": "mix", "maps": ["wall", null]},
      "mul": {"type": "rgbMultiply", "maps": ["check", "vc"]},
      "check": {"type": "checker", "colors": [[1, 0, 0], [0, 0, 1]], "uv": {"tiling": [4, 4]}},
      "vc": {"type": "vertexColor"}},
    "nodes": [
      {"name": "body", "props": "Model=units/tank\r\nmass=2\r\n", "selected": true,
       "keys": {"0": {"pos": [0, 0, 0]}, "2.5": {"pos": [10, 0, 0], "rot": [0, 0, 45]}, "30": {"matrix": [1, 0, 0, 0, -1, 0, 0, 0, 1, 5, 5, 5]}},
       "visibility": {"0": 1, "10": 0.25}, "objectOffset": {"pos": [0, 0, -1]}, "material": "multi",
       "object": {"type": "mesh", "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0], [-0.0, 0.1, 1e30]],
                  "faces": [[0, 1, 2], [0, 2, 3]], "smoothing": [1, 6], "materialIds": [0, 2], "hiddenFaces": [1],
                  "channels": {"1": {"vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "faces": [[0, 1, 2], [0, 2, 1]]},
                               "0": {"vertices": [[1, 0.5, 0]], "faces": [[0, 0, 0], [0, 0, 0]]},
                               "-2": {"vertices": [[0.5, 0, 0]], "faces": [[0, 0, 0], [0, 9, 0]]}},
                  "normals": {"normals": [[0, 0, 1], [0, 1, 0]], "faces": [[0, 0, 0], [1, -1, 1]], "explicit": [true, false]},
                  "frames": {"0": [[0, 0, 0], [1, 0, 0], [0, 1, 0], [0, 0, 1]], "10": [[0, 0, 1], [1, 0, 1], [0, 1, 1], [0, 0, 2]]}},
       "skin": {"bones": ["leg", "body"], "enabled": false, "weights": [[[0, 1]], [[0, 0.7], [1, 0.3]], [], [[1, 1]]]},
       "children": [
         {"name": "leg", "hidden": true, "renderable": false, "group": "head", "joint": {"revolute": true, "chainEnd": true},
          "transform": {"rot": [10, 20, 30], "scale": [1, -1, 2]}, "visibility": 0.5, "material": "corvane",
          "children": [{"name": "foot", "group": "member", "object": "crate", "material": "two"}]},
         {"name": "crate2", "object": "crate", "transform": {"pos": [1e-7, 123456.78, -0.5]}, "material": "std"},
         {"name": "spot", "object": "lamp"},
         {"name": "cam", "object": {"type": "camera", "fov": 60.123456789, "target": "leg", "roll": -30}},
         {"name": "free", "object": {"type": "camera"}},
         {"name": "omni", "object": {"type": "light", "kind": "omni", "enabled": false}},
         {"name": "sun", "object": {"type": "light", "kind": "directional", "classId": [1, 2]}},
         {"name": "amb", "object": {"type": "light", "kind": "ambient"}},
         {"name": "ball", "object": {"type": "sphere", "radius": 2.5, "segments": 6}},
         {"name": "can", "object": {"type": "cylinder", "radius": 1, "height": 3, "sides": 5}},
         {"name": "rect", "object": {"type": "rectangle", "length": 2, "width": 4}},
         {"name": "ring", "object": {"type": "circle", "radius": 3, "points": 7}},
         {"name": "path", "object": {"type": "line", "splines": [{"points": [[0, 0, 0], [1, 2, 3]], "closed": true}, {"points": []}]}},
         {"name": "dummy", "object": {"type": "helper"}},
         {"name": "tgt", "object": {"type": "target"}},
         {"name": "weird", "object": "odd"},
         {"name": "body", "props": "a second body\r\n"}]}])";

sim::LoadOptions WithPlugin(simtest::PluginClass& plugin) {
    sim::LoadOptions options;
    options.plugins.push_back(&plugin);
    return options;
}

// Loads text (taken as from folder base_dir), writes it, loads the writing
// and writes that again: both loads must answer alike and both writings be
// the same bytes.
void ExpectRoundTrip(const sim::Scene& loaded, const sim::LoadOptions& options, const std::string& what) {
    const std::string written = sim::SceneText(loaded);
    std::unique_ptr<sim::Scene> reloaded;
    try {
        reloaded = sim::LoadSceneText(written, options);
    } catch (const sim::LoadError& error) {
        FAIL() << what << ": the written scene does not load: " << error.what() << "\n" << written;
    }
    for (const std::string& difference : simtest::SceneDifferences(loaded, *reloaded)) ADD_FAILURE() << what << ": " << difference;
    EXPECT_EQ(sim::SceneText(*reloaded), written) << what;
}

TEST(SceneWriterTest, EverySceneFileOfTheTestsAndSamplesRoundTrips) {
    std::vector<fs::path> files;
    for (const char* folder : {"tests/scenes", "samples"})
        for (const auto& entry : fs::directory_iterator(fs::path(QEL_SOURCE_DIR) / folder))
            if (entry.path().string().ends_with(".qscene.json")) files.push_back(entry.path());
    ASSERT_GE(files.size(), 6u);
    // Scenes may hold CorvaneMtl materials: the stand-in plug-in class creates them.
    simtest::PluginClass plugin;
    for (const fs::path& file : files) {
        sim::LoadOptions options = WithPlugin(plugin);
        options.baseDir = file.parent_path().string();
        ExpectRoundTrip(*sim::LoadSceneFile(file.string(), options), options, file.filename().string());
    }
}

TEST(SceneWriterTest, EveryKindOfObjectMaterialAndTextureRoundTrips) {
    simtest::PluginClass plugin;
    const sim::LoadOptions options = WithPlugin(plugin);
    auto scene = sim::SceneFromJson(kEverything, options);
    ExpectRoundTrip(*scene, options, "everything");

    // A spot check of what the comparison sees, on the reloaded scene.
    auto reloaded = sim::LoadSceneText(sim::SceneText(*scene), options);
    host::Node* body = reloaded->GetRootNode()->GetChildNode(0);
    EXPECT_EQ(reloaded->GetCurFilePath(), "d:/art/\xE1\xE0\xE7\xE0.max");
    EXPECT_EQ(body->GetUserPropBuffer(), "Model=units/tank\r\nmass=2\r\n");
    EXPECT_TRUE(body->GetNodeTM(400).GetTrans().Equals({10, 0, 0}, 0));
    EXPECT_FLOAT_EQ(body->GetVisibility(800), 0.625f);
    EXPECT_EQ(body->GetMtl()->GetName(), "M");
    host::Material* corvane = body->GetChildNode(0)->GetMtl();
    int blend = 0;
    ASSERT_TRUE(corvane->GetParamBlockById(0)->GetValue(sim::kParamBlend, 0, blend));
    EXPECT_EQ(blend, 3);
    EXPECT_EQ(static_cast<simtest::PluginMaterial*>(corvane)->changes, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    host::CameraState camera;
    ASSERT_TRUE(body->GetChildNode(3)->EvalWorldState(0)->EvalCameraState(0, camera));
    EXPECT_EQ(camera.fov, float(60.123456789 * 3.14159265358979323846 / 180.0));
    EXPECT_EQ(reloaded->GetNodeByName("body"), body);
    EXPECT_EQ(body->GetChildNode(1)->EvalWorldState(0), body->GetChildNode(0)->GetChildNode(0)->EvalWorldState(0));  // instances
}

TEST(SceneWriterTest, TheComparisonSeesEachKindOfChange) {
    // One change at a time to a small scene: each must show as a difference,
    // so that a writer that lost it would be caught.
    simtest::PluginClass plugin;
    const sim::LoadOptions options = WithPlugin(plugin);
    const std::string base = R"("time": {"ticksPerFrame": 10},
        "materials": {"m": {"type": "standard", "diffuse": [1, 0, 0], "maps": {"diffuse": {"texture": "t"}}},
                      "c": {"type": "CorvaneMtl", "blend": 1, "material": "m"}},
        "textures": {"t": {"type": "checker", "uv": {"tiling": [2, 2]}}},
        "objects": {"o": {"type": "box", "length": 1}},
        "selectionSets": [{"name": "s", "nodes": ["a"]}],
        "nodes": [{"name": "a", "keys": {"0": {}, "10": {"pos": [1, 0, 0]}}, "material": "m", "object": {"type": "mesh",
                   "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "faces": [[0, 1, 2]]},
                   "skin": {"bones": ["b"], "weights": [[[0, 1]], [], []]}},
                  {"name": "b", "object": "o", "material": "c"}, {"name": "cam", "object": {"type": "camera", "fov": 50}},
                  {"name": "d", "object": "o"}])";
    const auto changed = [&](const std::string& from, const std::string& to) {
        std::string text = base;
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::string changes[] = {
        changed(R"("ticksPerFrame": 10)", R"("ticksPerFrame": 11)"),
        changed(R"("diffuse": [1, 0, 0])", R"("diffuse": [1, 0, 0.5])"),
        changed(R"("tiling": [2, 2])", R"("tiling": [2, 3])"),
        changed(R"("blend": 1)", R"("blend": 2)"),
        changed(R"("length": 1)", R"("length": 2)"),
        changed(R"("nodes": ["a"])", R"("nodes": ["b"])"),
        changed(R"("pos": [1, 0, 0])", R"("pos": [1, 0, 0.001])"),
        changed(R"([0, 1, 0]], "faces")", R"([0, 1, 0.5]], "faces")"),
        changed(R"([[[0, 1]], [], []])", R"([[[0, 0.5]], [], []])"),
        changed(R"("fov": 50)", R"("fov": 51)"),
        changed(R"({"name": "d", "object": "o"})", R"({"name": "d", "object": {"type": "box", "length": 1}})"),
        changed(R"("name": "b", "object": "o")", R"("name": "b", "hidden": true, "object": "o")"),
    };
    auto scene = sim::SceneFromJson(base, options);
    EXPECT_TRUE(simtest::SceneDifferences(*scene, *sim::SceneFromJson(base, options)).empty());
    for (const std::string& text : changes)
        EXPECT_FALSE(simtest::SceneDifferences(*scene, *sim::SceneFromJson(text, options)).empty()) << text;
}

TEST(SceneWriterTest, TextIsExactAndReadable) {
    auto scene = sim::SceneFromJson(R"("time": {"ticksPerFrame": 3, "end": 2}, "objects": {"o": {"type": "sphere", "radius": 0.1}},
        "nodes": [{"name": "\u0422\u0430\u043d\u043a", "props": "Poly\nq=\"x\"\\", "keys": {"0": {}, "0.333333333333": {"pos": [-0.0, 1e-7, 16777216]}},
                   "children": [{"name": "c", "object": "o", "visibility": 0,
                                 "transform": {"matrix": [1, 0, 0, 0, 1, 0, 0, 0, 1, -0.0, 0, 0.1]}}]}])");
    EXPECT_EQ(sim::SceneText(*scene), R"({
  "format": "qel-scene",
  "version": 1,
  "units": {
    "masterScale": 1
  },
  "time": {
    "ticksPerFrame": 3,
    "start": 0,
    "end": 2
  },
  "ambient": [0, 0, 0],
  "objects": {
    "o": {
      "type": "sphere",
      "radius": 0.1,
      "segments": 16
    }
  },
  "nodes": [
    {
      "name": "Танк",
      "props": "Poly\r\nq=\"x\"\\",
      "keys": {
        "0": {},
        "0.3333333333333333": {
          "pos": [0, 1e-07, 16777216]
        }
      },
      "children": [
        {
          "name": "c",
          "transform": {
            "matrix": [1, 0, 0, 0, 1, 0, 0, 0, 1, -0.0, 0, 0.1]
          },
          "visibility": 0,
          "object": "o"
        }
      ]
    }
  ]
}
)");
}

TEST(SceneWriterTest, SceneFilesWrittenThroughTheFileStreamLoad) {
    qeltest::TempDir dir;
    auto scene = sim::SceneFromJson(R"("paths": {"d:/maps/": "maps"}, "nodes": [{"name": "a"}])");
    ASSERT_TRUE(sim::WriteSceneFile(*scene, dir / "a.qscene.json"));
    EXPECT_FALSE(qeltest::Exists(dir / "a.qscene.json.tmp"));
    auto loaded = sim::LoadSceneFile(dir / "a.qscene.json");
    EXPECT_TRUE(simtest::SceneDifferences(*scene, *loaded).empty());
    EXPECT_EQ(loaded->Paths().Map("d:/maps/x.tga"), dir.path() + "/maps/x.tga");
    EXPECT_FALSE(sim::WriteSceneFile(*scene, dir / "missing/a.qscene.json"));
}

TEST(SceneWriterTest, EveryFloatReadsBackToItself) {
    // Random bit patterns: every exponent, and the values next to rounding
    // boundaries that the shortest float text alone would not bring back.
    std::mt19937 random(11);
    std::string text;
    sim::StringSink sink(text);
    sim::JsonWriter writer(sink);
    std::vector<float> values;
    writer.BeginArray(true);
    while (values.size() < 200000) {
        const uint32_t bits = random();
        float value;
        std::memcpy(&value, &bits, 4);
        if (!std::isfinite(value)) continue;
        values.push_back(value);
        writer.Number(value);
    }
    writer.EndArray();
    writer.Finish();
    sim::TextSource source(text);
    sim::JsonCursor cursor(source);
    cursor.BeginArray();
    for (const float value : values) {
        ASSERT_TRUE(cursor.NextElement());
        const double read = cursor.ReadNumber();
        ASSERT_EQ(float(read), value);
        ASSERT_EQ(std::signbit(read), std::signbit(value));
    }
}

TEST(SceneWriterTest, WhatAFileCannotHoldIsRefused) {
    std::string text;
    sim::StringSink sink(text);
    sim::JsonWriter writer(sink);
    EXPECT_THROW(writer.Number(std::nanf("")), sim::WriteError);
    EXPECT_THROW(writer.Number(HUGE_VAL), sim::WriteError);
}

TEST(SceneWriterTest, ChunkSizesOfTheReaderGiveTheSameScene) {
    simtest::PluginClass plugin;
    const sim::LoadOptions options = WithPlugin(plugin);
    const std::string text = sim::SceneText(*sim::SceneFromJson(kEverything, options));
    for (size_t chunk_size = 16; chunk_size < 48; ++chunk_size) {
        sim::TextSource source(text);
        EXPECT_EQ(sim::SceneText(*sim::LoadSceneFrom(source, options, chunk_size)), text) << chunk_size;
    }
}

}  // namespace
