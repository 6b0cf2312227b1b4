// The SDL writer on a bone-block-like document, beside the same text printed
// with fprintf.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "io/sdl_writer.h"
#include "io/stream_file.h"

namespace {

constexpr int kBlocks = 100000;

std::string BenchFile(const char* name) { return std::string("/tmp/qelbench-") + std::to_string(getpid()) + name; }

void SdlWriterFile(benchmark::State& state) {
    using namespace xIo::xSdl;
    std::string name = BenchFile("-sdl.mdl");
    for (auto _ : state) {
        eWriter w;
        w.Open(name);
        for (int i = 0; i < kBlocks; ++i) {
            w << begin << Ident{"bone"} << "bone_name" << newline;
            w << begin << Ident{"position"} << 1.25f << -3.5f << static_cast<float>(i) << endl;
            w << endl;
        }
        w.Close();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kBlocks);
    unlink(name.c_str());
}
BENCHMARK(SdlWriterFile)->Unit(benchmark::kMillisecond);

void FprintfFile(benchmark::State& state) {
    std::string name = BenchFile("-fprintf.mdl");
    for (auto _ : state) {
        FILE* f = std::fopen(name.c_str(), "wb");
        for (int i = 0; i < kBlocks; ++i)
            std::fprintf(f, "{bone \"bone_name\"\r\n\t{position %g %g %g}\r\n}\r\n", 1.25, -3.5, static_cast<double>(i));
        std::fclose(f);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kBlocks);
    unlink(name.c_str());
}
BENCHMARK(FprintfFile)->Unit(benchmark::kMillisecond);

}  // namespace
