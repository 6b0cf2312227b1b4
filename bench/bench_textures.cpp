// Texture conversion: a 1024x1024 image of gradients and noise to a DDS file
// with BC1 blocks and a full mip chain, as texture conversion writes it; the
// rate counts source megapixels per second on one thread. The conversion
// benchmark also reports the PSNR of the decoded top level against the
// source. The pieces (mip filtering alone, block compression alone) show
// where the time goes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "io/stream_memory.h"
#include "texture_tools/bc_decode.h"
#include "texture_tools/block_compress.h"
#include "texture_tools/dds_reader.h"
#include "texture_tools/dds_writer.h"
#include "texture_tools/image_quality.h"
#include "texture_tools/stb_backend.h"

namespace {

using namespace texture_tools;

constexpr int kSide = 1024;

// Smooth ramps in each channel with noise on top: the noise common to the
// three channels (brightness grain, +-12) and a little of each channel's own
// (+-2), from a fixed linear congruential sequence.
const Image& Source() {
    static const Image image = [] {
        Image result(kSide, kSide);
        uint32_t state = 20240601u;
        auto next = [&state] {
            state = state * 1664525u + 1013904223u;
            return state >> 8;
        };
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                int grain = static_cast<int>(next() % 25) - 12;
                int base[3] = {x / 4, y / 4, 128 + (x - y) / 8};
                uint8_t* p = result.Pixel(x, y);
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<uint8_t>(std::clamp(base[c] + grain + static_cast<int>(next() % 5) - 2, 0, 255));
                p[3] = 255;
            }
        return result;
    }();
    return image;
}

DdsOptions ExporterOptions() {
    DdsOptions options;
    options.format = kDdsFormatByAlpha;
    options.mipmaps = kDdsMipChain;
    options.filter = kDdsFilterMitchell;
    options.scale = 1.0f;
    options.refinement_passes = 2;
    options.edge = kDdsEdgeWrap;
    return options;
}

std::string Convert(const DdsOptions& options) {
    const Image& image = Source();
    xIo::eMemoryStream sink(1 << 20);
    WriteDds(image.pixels.data(), image.width, image.height, image.width * 4, 1, options, sink);
    return std::string(sink.Data());
}

double TopLevelPsnr(const std::string& file) {
    DdsReadResult result = ReadDds(file);
    const DdsLevel& top = result.info.levels.at(0);
    Image decoded = DecodeLevel(reinterpret_cast<const uint8_t*>(file.data()) + top.offset, top.width, top.height,
                                result.info.block_format.value());
    return Psnr(Source().View(), decoded.View(), 3);
}

void SetRate(benchmark::State& state) {
    state.counters["MP/s"] = benchmark::Counter(double(state.iterations()) * kSide * kSide / 1e6, benchmark::Counter::kIsRate);
}

void ConvertToDds(benchmark::State& state, DdsOptions options) {
    Source();
    for (auto _ : state) {
        const Image& image = Source();
        xIo::eMemoryStream sink(1 << 20);
        WriteDds(image.pixels.data(), image.width, image.height, image.width * 4, 1, options, sink);
        benchmark::DoNotOptimize(sink.Data().data());
    }
    SetRate(state);
    state.counters["PSNR_dB"] = TopLevelPsnr(Convert(options));
}

void Bc1WithMips(benchmark::State& state) { ConvertToDds(state, ExporterOptions()); }
BENCHMARK(Bc1WithMips)->Unit(benchmark::kMillisecond);

void Bc1WithMipsBoxFilter(benchmark::State& state) {
    DdsOptions options = ExporterOptions();
    options.filter = kDdsFilterBox;
    ConvertToDds(state, options);
}
BENCHMARK(Bc1WithMipsBoxFilter)->Unit(benchmark::kMillisecond);

void Bc1WithMipsOneRefinementPass(benchmark::State& state) {
    DdsOptions options = ExporterOptions();
    options.refinement_passes = 1;
    ConvertToDds(state, options);
}
BENCHMARK(Bc1WithMipsOneRefinementPass)->Unit(benchmark::kMillisecond);

// Every level below the top, each filtered from the one above.
std::vector<Image> MipChain(ResizeFilter filter) {
    std::vector<Image> levels;
    ImageView level = Source().View();
    for (int side = kSide / 2; side >= 1; side /= 2) {
        levels.emplace_back(side, side);
        Resize(level, levels.back(), filter, ResizeEdge::kWrap, false);
        level = levels.back().View();
    }
    return levels;
}

// The mip filtering alone.
void MipChainOnly(benchmark::State& state) {
    ResizeFilter filter = state.range(0) ? ResizeFilter::kMitchell : ResizeFilter::kBox;
    for (auto _ : state) benchmark::DoNotOptimize(MipChain(filter).back().pixels.data());
    SetRate(state);
}
BENCHMARK(MipChainOnly)->Arg(0)->Arg(1)->ArgName("mitchell")->Unit(benchmark::kMillisecond);

// The block compression of all levels alone: the ceiling of the conversion
// rate, whatever the filtering costs.
void CompressAllLevelsBc1(benchmark::State& state) {
    std::vector<Image> below = MipChain(ResizeFilter::kMitchell);
    std::vector<uint8_t> blocks(LevelSize(kSide, kSide, 8));
    bool high_quality = state.range(0) == 2;
    for (auto _ : state) {
        CompressLevel(Source().View(), BlockFormat::kBc1, high_quality, blocks.data());
        for (const Image& level : below) CompressLevel(level.View(), BlockFormat::kBc1, high_quality, blocks.data());
        benchmark::DoNotOptimize(blocks.data());
    }
    SetRate(state);
}
BENCHMARK(CompressAllLevelsBc1)->Arg(1)->Arg(2)->ArgName("refinement_passes")->Unit(benchmark::kMillisecond);

}  // namespace
