// The triangle optimiser as the mesh writer runs it (one list, a cache of 24,
// validation on), on meshes of known shape. Besides the time, each case
// reports the vertices a 24-entry FIFO cache transforms per triangle for the
// result (ACMR), for the input order (InputACMR) and the floor of used
// vertices per triangle (Bound).
#include <benchmark/benchmark.h>

#include "geometry/triangle_strips.h"
#include "geometry/vertex_cache.h"
#include "support/test_meshes.h"

namespace {

constexpr uint32_t kCacheSize = 24;

geometry::StripOptions ListOptions() {
    geometry::StripOptions options;
    options.cache_size = kCacheSize;
    options.lists_only = true;
    return options;
}

void Optimise(benchmark::State& state, const qeltest::IndexList& mesh) {
    const geometry::StripOptions options = ListOptions();
    std::vector<geometry::PrimitiveGroup> groups;
    for (auto _ : state) {
        bool ok = geometry::GenerateStrips(mesh, options, groups, true);
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("GenerateStrips failed");
    }
    double triangle_count = static_cast<double>(mesh.size() / 3);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * triangle_count));
    state.counters["ACMR"] = groups.empty() ? 0.0 : geometry::AverageCacheMissRatio(groups[0].indices, kCacheSize);
    state.counters["InputACMR"] = geometry::AverageCacheMissRatio(mesh, kCacheSize);
    state.counters["Bound"] = qeltest::UsedVertexCount(mesh) / triangle_count;
}

void Grid(benchmark::State& state) { Optimise(state, qeltest::GridMesh(255, 255)); }
BENCHMARK(Grid)->Unit(benchmark::kMillisecond);

void ShuffledGrid(benchmark::State& state) {
    Optimise(state, qeltest::ShuffleTriangles(qeltest::GridMesh(255, 255), 12345));
}
BENCHMARK(ShuffledGrid)->Unit(benchmark::kMillisecond);

void Sphere(benchmark::State& state) { Optimise(state, qeltest::UvSphereMesh(256, 196)); }
BENCHMARK(Sphere)->Unit(benchmark::kMillisecond);

void Irregular(benchmark::State& state) { Optimise(state, qeltest::IrregularMesh(60, 60, 5000, 2024)); }
BENCHMARK(Irregular)->Unit(benchmark::kMillisecond);

}  // namespace
