// Feeds arbitrary bytes to the bitmap structural check and reads every pixel
// of what it accepts; then writes the bytes as a small image through the
// bitmap writer and requires the check to accept it and give the pixels
// back. Any crash, leak or mismatch is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "io/stream_memory.h"
#include "texture_tools/bmp_reader.h"
#include "texture_tools/bmp_writer.h"

namespace {

using namespace texture_tools;

void CheckAndRead(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    BmpReadResult result = ReadBmp(bytes);
    if (!result.ok) {
        if (result.reason.empty() || result.offset > size) std::abort();
        return;
    }
    uint8_t rgba[4];
    for (int32_t y = 0; y < result.info.height; ++y)
        for (int32_t x = 0; x < result.info.width; ++x) BmpPixel(bytes, result.info, x, y, rgba);
}

// The bytes after the first three as the pixels of an image of at most
// 33x33.
void WriteAndCheck(const uint8_t* data, size_t size) {
    if (size < 4) return;
    int width = 1 + data[0] % 33, height = 1 + data[1] % 33;
    bool with_alpha = data[2] & 1;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = data[3 + i % (size - 3)];
    xIo::eMemoryStream sink(64);
    WriteBmp(pixels.data(), width, height, width * 4, with_alpha, sink);
    BmpReadResult result = ReadBmp(sink.Data());
    if (!result.ok || result.info.width != width || result.info.height != height) std::abort();
    uint8_t rgba[4];
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* source = pixels.data() + (static_cast<size_t>(y) * width + x) * 4;
            BmpPixel(sink.Data(), result.info, x, y, rgba);
            if (std::memcmp(rgba, source, 3) != 0 || rgba[3] != (with_alpha ? source[3] : 255)) std::abort();
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckAndRead(data, size);
    WriteAndCheck(data, size);
    return 0;
}
