// Geometry's speed and memory: welding corners, and the export of a
// generated scene of skinned meshes (60 bones, two materials) timed after
// the scene is built. The export reports triangles per second and its peak
// memory on top of the built scene, per triangle: the process's resident
// peak is reset before the export and read after it.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "export/export_plugin.h"
#include "geometry/vertex_welder.h"
#include "sim/materials.h"
#include "sim/scene.h"
#include "sim/textures.h"

namespace {

// ---- Welding ---------------------------------------------------------------

// The corners of a grid of cells × cells quads as the second stage makes them:
// each inner vertex is met by six corners with the same attributes. With
// jitter each corner's position moves by up to that much, so most corners
// weld through the tolerance search rather than as identical copies.
std::vector<geometry::MeshVertex> GridCorners(int cells, float jitter) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> noise(-jitter, jitter);
    auto vertex = [&](int x, int y) {
        geometry::MeshVertex v;
        v.position = {x * 0.02f + noise(random), y * 0.02f + noise(random), 0};
        v.normal = {0, 0, 1};
        v.uv[0] = {x / float(cells), y / float(cells)};
        v.format = geometry::kFormatPosition | geometry::kFormatNormal | geometry::kFormatColour | 0x10;
        v.smoothing = 1;
        return v;
    };
    std::vector<geometry::MeshVertex> corners;
    for (int y = 0; y < cells; ++y)
        for (int x = 0; x < cells; ++x)
            for (auto [cx, cy] : {std::pair{x, y}, {x + 1, y}, {x + 1, y + 1}, {x, y}, {x + 1, y + 1}, {x, y + 1}})
                corners.push_back(vertex(cx, cy));
    return corners;
}

void Weld(benchmark::State& state, float jitter) {
    const std::vector<geometry::MeshVertex> corners = GridCorners(180, jitter);
    size_t vertices = 0;
    for (auto _ : state) {
        geometry::VertexWelder welder(std::min<size_t>(corners.size(), 65535));
        for (const geometry::MeshVertex& corner : corners) benchmark::DoNotOptimize(welder.Add(corner));
        vertices = welder.Count();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(corners.size()));
    state.counters["vertices"] = double(vertices);
}

void WeldIdenticalCorners(benchmark::State& state) { Weld(state, 0.0f); }
BENCHMARK(WeldIdenticalCorners)->Unit(benchmark::kMillisecond);

void WeldNearCorners(benchmark::State& state) { Weld(state, 0.0004f); }
BENCHMARK(WeldNearCorners)->Unit(benchmark::kMillisecond);

// ---- Export of skinned meshes ------------------------------------------------

constexpr int kBones = 60;
constexpr int kColumns = 126, kRows = 101;  // 125 × 100 quads: 25,000 triangles a mesh
constexpr int kTrianglesPerMesh = 2 * (kColumns - 1) * (kRows - 1);

// One model: a chain of 60 helper bones along y and mesh_count skinned grids,
// each spanning the chain, every vertex on two or three bones, bands of faces
// in one of two textured materials.
std::unique_ptr<sim::Scene> SkinnedScene(int mesh_count) {
    auto scene = std::make_unique<sim::Scene>();
    sim::SimNode* root = scene->AddNode("Army", nullptr);
    root->SetUserProps("Model=units/army\r\n");
    sim::SimObject* helper = scene->Own(std::make_unique<sim::SimObject>(host::kHelperClass, host::kDummyClassId));
    std::vector<sim::SimNode*> bones;
    for (int b = 0; b < kBones; ++b) {
        sim::SimNode* bone = scene->AddNode("bone" + std::to_string(b), root);
        bone->Transform() = sim::TransformTrack(host::Matrix3::Translation({0, b * 10.0f, 0}));
        bone->SetObject(helper);
        bones.push_back(bone);
    }
    sim::UvGenData uv;
    std::vector<host::Material*> subs;
    for (const char* name : {"Armour", "Cloth"}) {
        auto* texture = scene->Own(std::make_unique<sim::BitmapTexture>(std::string(name) + "Map", "", false, false, uv));
        auto* material = scene->Own(std::make_unique<sim::StandardMaterial>(name, sim::StandardMaterial::Values()));
        material->SetMap(host::kMapDiffuse, {texture, 100.0f, true});
        subs.push_back(material);
    }
    host::Material* multi =
        scene->Own(std::make_unique<sim::CompositeMaterial>(host::kMultiMaterialClassId, "Uniform", subs));

    for (int m = 0; m < mesh_count; ++m) {
        sim::MeshData mesh;
        sim::MapChannelData& channel = mesh.channels[1];
        sim::SimSkin::Weights weights;
        const float height = kBones * 10.0f;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                const float y = height * r / (kRows - 1);
                const float angle = 6.2831853f * c / (kColumns - 1);
                mesh.verts.push_back({m * 40.0f + 15 * std::cos(angle), y, 15 * std::sin(angle)});
                channel.verts.push_back({float(c) / (kColumns - 1), float(r) / (kRows - 1), 0});
                const float t = y / 10.0f;
                const int b = std::min(int(t), kBones - 1);
                const float f = t - float(b);
                std::vector<std::pair<int, float>> w{{b, 0.9f - 0.8f * f}};
                if (b + 1 < kBones) w.push_back({b + 1, 0.1f + 0.8f * f});
                if (b + 2 < kBones) w.push_back({b + 2, 0.05f});
                weights.push_back(w);
            }
        for (int r = 0; r + 1 < kRows; ++r)
            for (int c = 0; c + 1 < kColumns; ++c) {
                const uint32_t a = uint32_t(r * kColumns + c), b = a + 1, d = a + kColumns, e = d + 1;
                for (const host::MapFace& f : {host::MapFace{{a, b, e}}, host::MapFace{{a, e, d}}}) {
                    host::Face face;
                    face.v[0] = f.t[0], face.v[1] = f.t[1], face.v[2] = f.t[2];
                    face.smGroup = 1;
                    face.SetMaterialId(uint16_t((r / 10) % 2));
                    mesh.faces.push_back(face);
                    channel.faces.push_back(f);
                }
            }
        sim::SimNode* node = scene->AddNode("mesh" + std::to_string(m), root);
        node->SetObject(scene->Own(std::make_unique<sim::MeshObject>(host::kEditableMeshClassId, std::move(mesh))));
        node->SetMaterial(multi);
        node->SetSkin(std::make_unique<sim::SimSkin>(bones, std::move(weights), true, scene->HoldImpl()));
    }
    return scene;
}

// Bytes of one line ("VmHWM:", "VmRSS:") of this process's status.
int64_t StatusBytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::stoll(line.substr(key.size())) * 1024;
    return 0;
}

void ResetPeak() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

void ExportSkinned(benchmark::State& state) {
    const int mesh_count = int(state.range(0));
    std::unique_ptr<sim::Scene> scene = SkinnedScene(mesh_count);
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("qelbench-geometry-" + std::to_string(getpid()));
    scene->Paths().Add("d:/thegame/", out.string());
    scene->Paths().Install();
    std::unique_ptr<host::ReferenceTarget> object = LibClassDesc(0)->Create(*scene, false);
    auto* exporter = dynamic_cast<Export*>(object.get());
    exporter->SetConfigPath((out / "QELEXPORT.CFG").string());
    int64_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        scene->Record().Clear();
        ResetPeak();
        const int64_t base = StatusBytes("VmRSS:");
        state.ResumeTiming();
        exporter->DoExport("bench.mdl", nullptr, scene.get(), true, 0);
        state.PauseTiming();
        peak = std::max(peak, StatusBytes("VmHWM:") - base);
        if (!scene->Record().boxes.empty()) state.SkipWithError("the export showed a message");
        state.ResumeTiming();
    }
    sim::PathMap::Uninstall();
    std::filesystem::remove_all(out);
    const double triangles = double(mesh_count) * kTrianglesPerMesh;
    state.SetItemsProcessed(int64_t(state.iterations() * triangles));
    state.counters["triangles"] = triangles;
    state.counters["peak_bytes_per_triangle"] = double(peak) / triangles;
}
BENCHMARK(ExportSkinned)->Arg(40)->Arg(80)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

}  // namespace
