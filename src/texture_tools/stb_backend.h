#pragma once
// The two calls this library makes into the stb single-file libraries:
// resampling (stb_image_resize) and 4x4 block compression (stb_dxt). Both are
// compiled into stb_backend.cpp alone, with internal linkage, so they never
// meet another copy of stb linked into the same program.
#include <cstdint>

#include "texture_tools/image.h"

namespace texture_tools {

enum class ResizeFilter {
    kBox,       ///< the average of the covered pixels
    kMitchell,  ///< the Mitchell-Netravali cubic (B = C = 1/3): sharp, little ringing
};

/// What the filter sees beyond the image's edges.
enum class ResizeEdge {
    kClamp,  ///< the edge pixel repeated
    kWrap,   ///< the opposite edge: right for textures that tile
};

/// Resamples source to the size of destination (which must be allocated),
/// filtering in linear values. With alpha_weighted, colours are weighted by
/// their alpha so that transparent pixels do not bleed their colour; without
/// it the four channels are filtered alike. Raises an error when the
/// resampler cannot have its working memory.
void Resize(const ImageView& source, Image& destination, ResizeFilter filter, ResizeEdge edge, bool alpha_weighted);

/// Compresses one block of 4x4 pixels (64 bytes, rows of 4 RGBA8 pixels) into
/// 8 bytes of BC1 colour, or with alpha into 8 bytes of BC3 alpha followed by
/// 8 bytes of colour. Without alpha, every alpha byte of block must be 255.
/// high_quality runs two refinement passes on the end points instead of one.
void CompressBlock(const uint8_t* block, bool with_alpha, bool high_quality, uint8_t* out);

}  // namespace texture_tools
