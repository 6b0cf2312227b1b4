// Feeds arbitrary bytes to the EVLM reader, both as an image and as the
// hexadecimal text of one. Any outcome but a clean refusal or a decoded
// image whose size matches the bytes it came from is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "volumes/evlm_reader.h"

namespace {

// Tags, counts, 12 bytes a vertex, 6 an index triple and 1 a side.
size_t ImageSize(const volumes::EvlmImage& image) {
    return 4 * 4 + 3 * 4 + image.vertices.size() * 12 + image.faces.size() * 7;
}

void Check(std::string_view bytes) {
    volumes::EvlmImage image;
    std::string error;
    if (volumes::ReadEvlmImage(bytes, image, error)) {
        if (ImageSize(image) != bytes.size() || !error.empty()) std::abort();
        for (const volumes::EvlmFace& face : image.faces)
            for (uint16_t index : face.index)
                if (index >= image.vertices.size()) std::abort();
    } else if (error.empty()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Check(input);
    std::string bytes, error;
    if (volumes::HexToBytes(input, bytes, error)) Check(bytes);
    else if (error.empty()) std::abort();
    return 0;
}
