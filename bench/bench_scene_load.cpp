// Loading scene files: a 1 M-triangle mesh with one texture coordinate
// channel (about 77 MB of text) and 100k, 200k and 400k sibling nodes. The
// files are generated once into a temporary folder and loaded from disk.
//
// Counters: MB_per_s is megabytes (10^6) of scene text per second. The memory
// counters come from one load in a child process (fork), so that nothing the
// benchmark itself allocated counts: the child resets its peak resident set
// through /proc/self/clear_refs ("5"), reads VmRSS, loads, and reads VmHWM and
// VmRSS again. peak_MB is the growth of the peak over the resident set before
// the load, scene_MB the growth that stays while the scene is held, and
// overhead_MB their difference: what the load needed beyond the scene it
// built. overhead_per_file is overhead_MB over the file's size. Without
// /proc/self/clear_refs the memory counters are -1. cold_cpu_ms is the CPU
// time of that one load, which finds no freed memory to reuse (the timed
// iterations do, after the first).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "sim/scene_loader.h"

namespace {

namespace fs = std::filesystem;

constexpr int kGridColumns = 1000;  // quads across; 1000 × 500 quads make 1 M triangles
constexpr int kGridRows = 500;

class TempFolder {
public:
    TempFolder() : path_(fs::temp_directory_path() / ("qelbench-scene-" + std::to_string(getpid()))) {
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

TempFolder& Folder() {
    static TempFolder folder;
    return folder;
}

void AppendNumber(std::string& out, float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

// One line per vertex and face, as an exporter of meshes would write them.
void WriteMeshScene(const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    std::string out = R"({"format": "qel-scene", "version": 1, "nodes": [{"name": "terrain", "object": {"type": "mesh",)";
    auto flush = [&] {
        if (out.size() < (1u << 20)) return;
        file.write(out.data(), std::streamsize(out.size()));
        out.clear();
    };
    auto points = [&](bool uv) {
        out += "\n \"vertices\": [";
        for (int row = 0; row <= kGridRows; ++row) {
            for (int column = 0; column <= kGridColumns; ++column) {
                out += row || column ? ",\n[" : "\n[";
                if (uv) {
                    AppendNumber(out, float(column) / kGridColumns);
                    out += ", ";
                    AppendNumber(out, float(row) / kGridRows);
                    out += ", 0]";
                } else {
                    AppendNumber(out, float(column) * 0.731f - 365.5f);
                    out += ", ";
                    AppendNumber(out, float(row) * 0.617f - 154.25f);
                    out += ", ";
                    AppendNumber(out, float((column * 7 + row * 13) % 97) * 0.0371f);
                    out += "]";
                }
                flush();
            }
        }
        out += "]";
    };
    auto faces = [&] {
        out += ",\n \"faces\": [";
        for (int row = 0; row < kGridRows; ++row) {
            for (int column = 0; column < kGridColumns; ++column) {
                const int a = row * (kGridColumns + 1) + column, b = a + 1, c = a + kGridColumns + 1, d = c + 1;
                out += row || column ? ",\n[" : "\n[";
                out += std::to_string(a) + ", " + std::to_string(b) + ", " + std::to_string(d) + "],\n[";
                out += std::to_string(a) + ", " + std::to_string(d) + ", " + std::to_string(c) + "]";
                flush();
            }
        }
        out += "]";
    };
    points(false);
    faces();
    out += ",\n \"channels\": {\"1\": {";
    points(true);
    faces();
    out += "}}}}]}\n";
    file.write(out.data(), std::streamsize(out.size()));
}

void WriteSiblingScene(const std::string& path, int64_t count) {
    std::ofstream file(path, std::ios::binary);
    std::string out = R"({"format": "qel-scene", "version": 1, "nodes": [)";
    for (int64_t i = 0; i < count; ++i) {
        out += i ? ",\n" : "\n";
        out += R"({"name": "node)" + std::to_string(i) + R"(", "props": "Poly\r\n", "transform": {"pos": [)" +
               std::to_string(i % 1000) + ", " + std::to_string(i / 1000) + ", 0]}}";
    }
    out += "]}\n";
    file.write(out.data(), std::streamsize(out.size()));
}

struct Memory {
    double peak_mb = -1, scene_mb = -1;
    double cold_cpu_ms = -1;  // the load in the fresh process: no memory to reuse
};

// Kilobytes of a /proc/self/status line ("VmHWM:   1234 kB").
long StatusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size() + 1));
    return -1;
}

// Run in a fresh process (see main): one load, its memory on standard output.
int MeasureInThisProcess(const char* path) {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.close();
    if (!clear) return 1;
    const long before = StatusKb("VmRSS");
    const std::clock_t started = std::clock();
    std::unique_ptr<sim::Scene> scene = sim::LoadSceneFile(path);
    const double cpu_ms = double(std::clock() - started) * 1000.0 / CLOCKS_PER_SEC;
    const long peak = StatusKb("VmHWM");
    malloc_trim(0);  // what the allocator keeps of freed memory is not the scene's
    const long held = StatusKb("VmRSS");
    std::printf("%ld %ld %.1f\n", peak - before, held - before, cpu_ms);
    return 0;
}

// Runs this program again with --measure-load path, so that the load starts
// from a clean heap: memory the benchmark freed earlier would otherwise be
// reused without showing in the resident set.
Memory MeasureLoad(const std::string& path) {
    int channel[2];
    if (pipe(channel) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(channel[1], 1);
        close(channel[0]);
        execl("/proc/self/exe", "bench_scene_load", "--measure-load", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(channel[1]);
    char text[64] = {};
    size_t length = 0;
    for (ssize_t got; length + 1 < sizeof text && (got = read(channel[0], text + length, sizeof text - 1 - length)) > 0;)
        length += size_t(got);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    long peak_kb = 0, held_kb = 0;
    double cpu_ms = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || std::sscanf(text, "%ld %ld %lf", &peak_kb, &held_kb, &cpu_ms) != 3) return {};
    return {double(peak_kb) / 1024.0, double(held_kb) / 1024.0, cpu_ms};
}

void LoadFile(benchmark::State& state, const std::string& path) {
    static std::map<std::string, Memory> measured;
    if (!measured.count(path)) measured[path] = MeasureLoad(path);
    const Memory memory = measured[path];
    const double file_mb = double(fs::file_size(path)) / 1e6;
    for (auto _ : state) {
        std::unique_ptr<sim::Scene> scene = sim::LoadSceneFile(path);
        benchmark::DoNotOptimize(scene.get());
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = file_mb;
    state.counters["MB_per_s"] = benchmark::Counter(file_mb * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["peak_MB"] = memory.peak_mb;
    state.counters["scene_MB"] = memory.scene_mb;
    state.counters["overhead_MB"] = memory.peak_mb < 0 ? -1 : memory.peak_mb - memory.scene_mb;
    state.counters["overhead_per_file"] = memory.peak_mb < 0 ? -1 : (memory.peak_mb - memory.scene_mb) / file_mb;
    state.counters["cold_cpu_ms"] = memory.cold_cpu_ms;
}

void LoadMeshOfOneMillionTriangles(benchmark::State& state) {
    static const std::string path = [] {
        const std::string file = Folder().File("mesh.qscene.json");
        WriteMeshScene(file);
        return file;
    }();
    LoadFile(state, path);
}
BENCHMARK(LoadMeshOfOneMillionTriangles)->Unit(benchmark::kMillisecond);

void LoadSiblingNodes(benchmark::State& state) {
    const std::string path = Folder().File("siblings" + std::to_string(state.range(0)) + ".qscene.json");
    if (!fs::exists(path)) WriteSiblingScene(path, state.range(0));
    LoadFile(state, path);
    state.counters["s_per_node"] =
        benchmark::Counter(double(state.range(0)) * double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(LoadSiblingNodes)->Arg(100000)->Arg(200000)->Arg(400000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--measure-load") return MeasureInThisProcess(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
