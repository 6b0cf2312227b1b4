// End to end: the 1 M-triangle skinned scene (40 meshes of the geometry
// benchmark's scene) loaded from a scene file or imported from a glb file,
// then exported, timed together. Reports triangles per second and the peak
// memory of load and export together, per triangle: the process's resident
// peak is reset before the load and read after the export.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "export/export_plugin.h"
#include "import/import_file.h"
#include "sim/scene_loader.h"
#include "sim/scene_writer.h"
#include "process_memory.h"
#include "skinned_scene.h"

namespace {

constexpr int kMeshes = 40;

namespace fs = std::filesystem;

// The input files, written once.
const fs::path& Inputs() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("qelbench-import-" + std::to_string(getpid()));
        fs::create_directories(d);
        sim::WriteSceneFile(*benchscene::SkinnedScene(kMeshes), (d / "army.qscene.json").string());
        const std::vector<unsigned char> glb = benchscene::SkinnedGlb(kMeshes);
        std::ofstream(d / "army.glb", std::ios::binary).write(reinterpret_cast<const char*>(glb.data()), std::streamsize(glb.size()));
        return d;
    }();
    return dir;
}

void EndToEnd(benchmark::State& state, const char* file) {
    const fs::path input = Inputs() / file;
    const fs::path out = Inputs() / "out";
    int64_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        benchmem::ResetPeak();
        const int64_t base = benchmem::StatusBytes("VmRSS:");
        state.ResumeTiming();
        std::unique_ptr<sim::Scene> scene =
            import::IsInterchangeFile(input.string()) ? import::ImportFile(input.string()).scene : sim::LoadSceneFile(input.string());
        scene->Paths().Add("d:/thegame/", out.string());
        scene->Paths().Install();
        std::unique_ptr<host::ReferenceTarget> object = LibClassDesc(0)->Create(*scene, false);
        auto* exporter = dynamic_cast<Export*>(object.get());
        exporter->SetConfigPath((out / "QELEXPORT.CFG").string());
        exporter->DoExport("bench.mdl", nullptr, scene.get(), true, 0);
        state.PauseTiming();
        peak = std::max(peak, benchmem::StatusBytes("VmHWM:") - base);
        if (!scene->Record().boxes.empty()) state.SkipWithError("the export showed a message");
        sim::PathMap::Uninstall();
        object.reset();
        scene.reset();
        fs::remove_all(out);
        state.ResumeTiming();
    }
    const double triangles = double(kMeshes) * benchscene::kTrianglesPerMesh;
    state.SetItemsProcessed(int64_t(state.iterations() * triangles));
    state.counters["triangles"] = triangles;
    state.counters["file_MB"] = double(fs::file_size(input)) / 1e6;
    state.counters["peak_bytes_per_triangle"] = double(peak) / triangles;
}

void EndToEndFromSceneFile(benchmark::State& state) { EndToEnd(state, "army.qscene.json"); }
BENCHMARK(EndToEndFromSceneFile)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void EndToEndFromGlb(benchmark::State& state) { EndToEnd(state, "army.glb"); }
BENCHMARK(EndToEndFromGlb)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code error;
    fs::remove_all(Inputs(), error);
    return 0;
}
