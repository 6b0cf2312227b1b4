// Sampling and writing one animation of 200 bones over 10,000 frames, every
// bone moving and turning in every frame (the most records a file can get):
// the frame table filled by the sampler, anim.txt listed, and the .anm
// file written, both into a temporary folder as an export writes them. The bones hang in chains of
// the argument's length under the model root (1: all siblings; 10: twenty
// chains of ten). A second benchmark times only the host calls the sampler
// makes (the node's and its parent's transform, the visibility), so the
// simulated host's share of the first can be told from the exporter's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "animation/animation_file.h"
#include "animation/animation_sampler.h"
#include "scene/report.h"
#include "sim/scene_loader.h"

namespace {

constexpr int kBones = 200;
constexpr int kLastFrame = 9999;  // 10,000 frames
constexpr int kKeyStep = 100;
constexpr int kTicksPerFrame = 160;

// Keys every 100 frames that move and turn the bone, so every frame differs.
std::string BoneKeys(int bone) {
    std::string keys;
    for (int f = 0; f <= kLastFrame + 1; f += kKeyStep) {
        int turn = (f / kKeyStep) % 2 ? 60 + bone % 30 : -(bone % 45);
        keys += f ? ", \"" : "\"";
        keys += std::to_string(f);
        keys += "\": {\"pos\": [" + std::to_string(10 + (f / kKeyStep) % 7);
        keys += ", 2, 3], \"rot\": [0, " + std::to_string(turn / 2);
        keys += ", " + std::to_string(turn) + "]}";
    }
    return "{" + keys + "}";
}

std::string AnimatedScene(int chain_length) {
    std::string chains;
    int bone = 0;
    while (bone < kBones) {
        std::string chain;
        for (int k = chain_length - 1; k >= 0; --k) {
            std::string node = "{\"name\": \"b";
            node += std::to_string(bone + k) + "\", \"keys\": " + BoneKeys(bone + k);
            chain = node + (chain.empty() ? "" : ", \"children\": [" + chain + "]") + "}";
        }
        chains += (bone ? ",\n" : "") + chain;
        bone += chain_length;
    }
    return "{\"format\": \"qel-scene\", \"version\": 1, \"time\": {\"start\": 0, \"end\": " +
           std::to_string(kLastFrame) + "}, \"nodes\": [{\"name\": \"Root\", \"props\": \"Model=units/b\\r\\n\", " +
           "\"children\": [" + chains + "]}]}";
}

// The model's nodes in pre-order: the bone index order of a model without
// LOD bones.
void PreOrder(host::Node& node, std::vector<host::Node*>& out) {
    out.push_back(&node);
    for (int i = 0; i < node.NumberOfChildren(); ++i) PreOrder(*node.GetChildNode(i), out);
}

struct Model {
    std::unique_ptr<sim::Scene> scene;
    std::vector<host::Node*> bones;
    std::vector<std::string> names;
};

Model& ModelOf(int chain_length) {
    static std::map<int, Model> models;
    Model& m = models[chain_length];
    if (!m.scene) {
        m.scene = sim::LoadSceneText(AnimatedScene(chain_length));
        PreOrder(*m.scene->GetRootNode()->GetChildNode(0), m.bones);
        for (host::Node* b : m.bones) m.names.push_back(b->GetName());
    }
    return m;
}

void BM_SampleAndWrite200BonesOver10000Frames(benchmark::State& state) {
    Model& m = ModelOf(static_cast<int>(state.range(0)));
    std::filesystem::path out = std::filesystem::temp_directory_path() / ("qelbench-anim-" + std::to_string(getpid()));
    std::filesystem::create_directories(out);
    m.scene->Paths().Add("d:/thegame/", out.string());
    m.scene->Paths().Install();
    scene::Reporter report(*m.scene);
    animation::AnimationSettings settings{*m.scene, report, 0.01f, host::Matrix3(), false, false, false};
    int64_t records = 0, listed_bytes = 0;
    for (auto _ : state) {
        animation::ModelAnimation model;
        animation::AnimationRange run;
        run.name = run.fileName = "run";
        run.end = kLastFrame;
        run.present = true;
        model.animations.push_back(run);
        animation::InitFrameTable(settings, model, "Root", static_cast<int32_t>(m.bones.size()));
        xIo::xSdl::eWriter list;
        list.Open("d:/thegame/anim.txt");
        for (size_t b = 0; b < m.bones.size(); ++b)
            animation::SampleNodeAnimation(settings, model, *m.bones[b], static_cast<int32_t>(b), list);
        list.Close();
        animation::WriteAnimationFiles(settings, model, "d:/thegame", m.names);
        state.PauseTiming();
        animation::AnimationFrames frames = model.frames.Frames(0);
        records = 0;
        for (int32_t f = 0; f <= kLastFrame; ++f)
            for (int32_t b = 0; b < frames.BoneCount(); ++b) records += frames.At(f, b).flags != 0;
        listed_bytes = static_cast<int64_t>(std::filesystem::file_size(out / "anim.txt"));
        state.ResumeTiming();
    }
    state.counters["bones"] = static_cast<double>(m.bones.size());
    state.counters["records"] = static_cast<double>(records);
    state.counters["anm_bytes"] = static_cast<double>(std::filesystem::file_size(out / "run.anm"));
    state.counters["anim_txt_bytes"] = static_cast<double>(listed_bytes);
    sim::PathMap::Uninstall();
    std::filesystem::remove_all(out);
}
BENCHMARK(BM_SampleAndWrite200BonesOver10000Frames)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HostCallsOfTheSampler(benchmark::State& state) {
    Model& m = ModelOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        float sum = 0;
        for (host::Node* node : m.bones) {
            host::Node* parent = node->GetParentNode();
            for (int32_t f = 0; f <= kLastFrame; ++f) {
                host::TimeValue t = f * kTicksPerFrame;
                sum += node->GetNodeTM(t).GetTrans().x + parent->GetNodeTM(t).GetTrans().x + node->GetVisibility(t);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_HostCallsOfTheSampler)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
