// Writing small fixed-size values (the mesh and animation files are made of
// them) through the file stream's window, beside plain fwrite calls.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "io/stream_file.h"
#include "io/stream_memory.h"

namespace {

constexpr int kValues = 1 << 20;  // one million 4-byte values per file

std::string BenchFile(const char* name) { return std::string("/tmp/qelbench-") + std::to_string(getpid()) + name; }

void StreamReserveFile(benchmark::State& state) {
    std::string name = BenchFile("-stream.bin");
    for (auto _ : state) {
        xIo::eFileStream s;
        s.Open(name, xIo::kModeWrite | xIo::kModeTruncate, xIo::eFileStream::kOutputBufferSize);
        for (int i = 0; i < kValues; ++i) s.Put<float>(static_cast<float>(i));
        s.Close();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kValues * 4);
    unlink(name.c_str());
}
BENCHMARK(StreamReserveFile)->Unit(benchmark::kMillisecond);

void FwriteFile(benchmark::State& state) {
    std::string name = BenchFile("-fwrite.bin");
    for (auto _ : state) {
        FILE* f = std::fopen(name.c_str(), "wb");
        for (int i = 0; i < kValues; ++i) {
            float v = static_cast<float>(i);
            std::fwrite(&v, sizeof v, 1, f);
        }
        std::fclose(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kValues * 4);
    unlink(name.c_str());
}
BENCHMARK(FwriteFile)->Unit(benchmark::kMillisecond);

void MemoryStreamReserve(benchmark::State& state) {
    for (auto _ : state) {
        xIo::eMemoryStream s(256);
        for (int i = 0; i < kValues; ++i) s.Put<float>(static_cast<float>(i));
        benchmark::DoNotOptimize(s.Size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kValues * 4);
}
BENCHMARK(MemoryStreamReserve)->Unit(benchmark::kMillisecond);

}  // namespace
