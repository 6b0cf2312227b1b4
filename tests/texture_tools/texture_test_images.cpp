#include "texture_test_images.h"

#include <algorithm>

#include "io/stream_memory.h"

namespace texture_test {

using texture_tools::Image;

Image Solid(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = r, p[1] = g, p[2] = b, p[3] = a;
        }
    return image;
}

Image Gradient(int width, int height) {
    Image image(width, height);
    uint32_t state = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            int noise = static_cast<int>(state >> 28) - 8;
            uint8_t* p = image.Pixel(x, y);
            p[0] = static_cast<uint8_t>(std::clamp(x * 255 / width + noise, 0, 255));
            p[1] = static_cast<uint8_t>(std::clamp(y * 255 / height + noise, 0, 255));
            p[2] = static_cast<uint8_t>(std::clamp((x + y) * 127 / (width + height) + 64 + noise, 0, 255));
            p[3] = 255;
        }
    return image;
}

std::string Dds(const Image& image, const texture_tools::DdsOptions& options) {
    xIo::eMemoryStream stream(1024);
    texture_tools::WriteDds(image.pixels.data(), image.width, image.height, image.width * 4, 1, options, stream);
    return std::string(stream.Data());
}

}  // namespace texture_test
