// A whole export of a generated scene: 100 models of 20 bones each (2,000
// bones), no meshes, with the files written to a temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "export/export_plugin.h"
#include "sim/scene_loader.h"

namespace {

constexpr int kModels = 100;
constexpr int kBonesPerModel = 20;

// A chain of bones with IK, parameters and placements under each root.
std::string GeneratedScene() {
    std::string nodes;
    for (int m = 0; m < kModels; ++m) {
        std::string chain;
        for (int b = kBonesPerModel - 1; b >= 1; --b) {
            std::string bone = "{\"name\": \"m" + std::to_string(m) + "_b" + std::to_string(b) +
                               "\", \"props\": \"IKType=revolute\\r\\nIKMin=-10\\r\\nIKMax=10\\r\\nmass=" +
                               std::to_string(b) + "\\r\\n\", \"transform\": {\"pos\": [1, 2, 3], \"rot\": [0, 0, " +
                               std::to_string(b * 7) + "]}";
            chain = bone + (chain.empty() ? "" : ", \"children\": [" + chain + "]") + "}";
        }
        if (m) nodes += ",\n";
        nodes += "{\"name\": \"Model" + std::to_string(m) + "\", \"props\": \"Model=units/u" + std::to_string(m) +
                 "\\r\\n\", \"children\": [" + chain + "]}";
    }
    return "{\"format\": \"qel-scene\", \"version\": 1, \"nodes\": [" + nodes + "]}";
}

void ExportTwoThousandBones(benchmark::State& state) {
    std::string text = GeneratedScene();
    std::filesystem::path out = std::filesystem::temp_directory_path() / ("qelbench-export-" + std::to_string(getpid()));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<sim::Scene> scene = sim::LoadSceneText(text);
        scene->Paths().Add("d:/thegame/", out.string());
        scene->Paths().Install();
        std::unique_ptr<host::ReferenceTarget> object = LibClassDesc(0)->Create(*scene, false);
        auto* exporter = dynamic_cast<Export*>(object.get());
        exporter->SetConfigPath((out / "QELEXPORT.CFG").string());
        state.ResumeTiming();
        exporter->DoExport("bench.mdl", nullptr, scene.get(), true, 0);
        state.PauseTiming();
        sim::PathMap::Uninstall();
        std::filesystem::remove_all(out);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kModels * kBonesPerModel);
    state.counters["us_per_bone"] = benchmark::Counter(double(kModels * kBonesPerModel) * state.iterations(),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(ExportTwoThousandBones)->Unit(benchmark::kMillisecond);

}  // namespace
