// Whole exports of generated scenes, no meshes, with the files written to a
// temporary folder: 100 models of 20 bones each (2,000 bones), and one model
// of many sibling bones, whose time must grow linearly with the bone count.
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

// One model whose root holds bone_count sibling bones, every tenth with two
// LOD bones beside it.
std::string SiblingScene(int bone_count) {
    std::string children;
    for (int b = 0; b < bone_count; ++b) {
        if (b) children += ",\n";
        std::string name = "bone" + std::to_string(b);
        children += "{\"name\": \"" + name + "\", \"transform\": {\"pos\": [" + std::to_string(b) + ", 0, 0]}}";
        if (b % 10 == 0)
            children += ", {\"name\": \"" + name + "_lod1\"}, {\"name\": \"" + name + "_lod2\"}";
    }
    return "{\"format\": \"qel-scene\", \"version\": 1, \"nodes\": [{\"name\": \"Root\", \"props\": "
           "\"Model=units/wide\\r\\n\", \"children\": [" + children + "]}]}";
}

// Exports the scene text once per iteration; loading is not timed.
void RunExports(benchmark::State& state, const std::string& text) {
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
}

void ExportTwoThousandBones(benchmark::State& state) {
    RunExports(state, GeneratedScene());
    state.SetItemsProcessed(int64_t(state.iterations()) * kModels * kBonesPerModel);
    state.counters["us_per_bone"] = benchmark::Counter(double(kModels * kBonesPerModel) * state.iterations(),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(ExportTwoThousandBones)->Unit(benchmark::kMillisecond);

void ExportSiblingBones(benchmark::State& state) {
    int bone_count = static_cast<int>(state.range(0));
    RunExports(state, SiblingScene(bone_count));
    state.counters["us_per_bone"] = benchmark::Counter(double(bone_count) * state.iterations(),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(ExportSiblingBones)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace
