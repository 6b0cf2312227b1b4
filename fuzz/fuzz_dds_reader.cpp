// Feeds arbitrary bytes to the DDS structural check and decodes every level
// of what it accepts; then writes the bytes as a small image through the DDS
// writer and requires the check to accept the result. Any crash, hang, leak
// or rejected written file is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "io/stream_memory.h"
#include "texture_tools/bc_decode.h"
#include "texture_tools/dds_reader.h"
#include "texture_tools/dds_writer.h"

namespace {

using namespace texture_tools;

void CheckAndDecode(const uint8_t* data, size_t size) {
    DdsReadResult result = ReadDds(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!result.ok) {
        if (result.reason.empty() || result.offset > size) std::abort();
        return;
    }
    if (!result.info.block_format) return;
    for (const DdsLevel& level : result.info.levels)
        MeanColour(data + level.offset, level.width, level.height, *result.info.block_format);
}

// The bytes after the first four as the pixels of an image of at most 17x17,
// with the options chosen by the first four.
void WriteAndCheck(const uint8_t* data, size_t size) {
    if (size < 5) return;
    int width = 1 + data[0] % 17, height = 1 + data[1] % 17;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = data[4 + i % (size - 4)];
    DdsOptions options;
    options.format = (data[2] & 3) == 0 ? kDdsFormatBc1 : (data[2] & 3) == 1 ? kDdsFormatBc3 : kDdsFormatByAlpha;
    options.filter = data[2] & 4 ? kDdsFilterBox : kDdsFilterMitchell;
    options.mipmaps = data[2] & 8 ? kDdsMipTopOnly : kDdsMipChain;
    options.refinement_passes = data[2] & 16 ? 2 : 1;
    options.edge = data[3] & 1 ? kDdsEdgeWrap : kDdsEdgeClamp;
    options.scale = data[3] & 0x80 ? 0.25f + static_cast<float>(data[3] & 0x7E) / 32.0f : 1.0f;
    xIo::eMemoryStream sink(256);
    WriteDds(pixels.data(), width, height, width * 4, 1, options, sink);
    DdsReadResult result = ReadDds(sink.Data());
    if (!result.ok) {
        std::fprintf(stderr, "written file rejected: %s at %zu\n", result.reason.c_str(), result.offset);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckAndDecode(data, size);
    WriteAndCheck(data, size);
    return 0;
}
