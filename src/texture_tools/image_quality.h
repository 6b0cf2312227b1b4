#pragma once
// How close a decoded image is to its source.
#include "texture_tools/image.h"

namespace texture_tools {

/// Peak signal-to-noise ratio in decibels of b against a (same size) over
/// their first channel_count channels (3: colour only; 4: with alpha):
/// 10 log10(255^2 / mean squared difference). Identical images give
/// infinity.
double Psnr(const ImageView& a, const ImageView& b, int channel_count);

}  // namespace texture_tools
