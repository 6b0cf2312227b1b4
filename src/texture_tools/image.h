#pragma once
// RGBA8 images: four bytes a pixel in the order red, green, blue, alpha, rows
// from the top. A view borrows pixels; an Image owns them.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace texture_tools {

/// Borrowed pixels; row_pitch counts bytes from one row's start to the next
/// (at least width * 4).
struct ImageView {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int row_pitch = 0;

    const uint8_t* Row(int y) const { return pixels + static_cast<size_t>(y) * static_cast<size_t>(row_pitch); }
    const uint8_t* Pixel(int x, int y) const { return Row(y) + static_cast<size_t>(x) * 4; }
};

/// Owned pixels with rows packed (row pitch width * 4).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    Image() = default;
    /// A width x height image with every byte 0.
    Image(int width_, int height_)
        : width(width_), height(height_), pixels(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4) {}

    ImageView View() const { return {pixels.data(), width, height, width * 4}; }
    uint8_t* Pixel(int x, int y) {
        return pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
    }
    const uint8_t* Pixel(int x, int y) const { return View().Pixel(x, y); }
};

/// True when some pixel's alpha is below 255.
bool HasTransparency(const ImageView& image);

}  // namespace texture_tools
