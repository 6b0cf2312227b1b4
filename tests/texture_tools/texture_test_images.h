#pragma once
// Images and DDS files shared by the texture tests.
#include <cstdint>
#include <string>

#include "texture_tools/dds_writer.h"
#include "texture_tools/image.h"

namespace texture_test {

/// A width x height image of one colour.
texture_tools::Image Solid(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a);

/// A deterministic image of gradients with some noise (alpha 255).
texture_tools::Image Gradient(int width, int height);

/// The DDS file WriteDds makes of image.
std::string Dds(const texture_tools::Image& image, const texture_tools::DdsOptions& options = {});

}  // namespace texture_test
