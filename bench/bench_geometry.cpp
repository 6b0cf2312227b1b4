// Geometry's speed and memory: welding corners, and the export of a
// generated scene of skinned meshes (60 bones, two materials) timed after
// the scene is built. The export reports triangles per second and its peak
// memory on top of the built scene, per triangle: the process's resident
// peak is reset before the export and read after it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include "export/export_plugin.h"
#include "geometry/vertex_welder.h"
#include "process_memory.h"
#include "skinned_scene.h"
#include "sim/scene.h"

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

void ExportSkinned(benchmark::State& state) {
    const int mesh_count = int(state.range(0));
    std::unique_ptr<sim::Scene> scene = benchscene::SkinnedScene(mesh_count);
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
        benchmem::ResetPeak();
        const int64_t base = benchmem::StatusBytes("VmRSS:");
        state.ResumeTiming();
        exporter->DoExport("bench.mdl", nullptr, scene.get(), true, 0);
        state.PauseTiming();
        peak = std::max(peak, benchmem::StatusBytes("VmHWM:") - base);
        if (!scene->Record().boxes.empty()) state.SkipWithError("the export showed a message");
        state.ResumeTiming();
    }
    sim::PathMap::Uninstall();
    std::filesystem::remove_all(out);
    const double triangles = double(mesh_count) * benchscene::kTrianglesPerMesh;
    state.SetItemsProcessed(int64_t(state.iterations() * triangles));
    state.counters["triangles"] = triangles;
    state.counters["peak_bytes_per_triangle"] = double(peak) / triangles;
}
BENCHMARK(ExportSkinned)->Arg(40)->Arg(80)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

}  // namespace
