// The only translation unit that compiles stb code. Both libraries are built
// with internal linkage (the _STATIC switches): another part of a program may
// link its own stb (the simulated host links the distribution's shared stb
// library for image loading), and external copies of the same functions
// would collide or silently replace one another.
#include "texture_tools/stb_backend.h"

#include <cstring>

#include "base/debug.h"
#include "base/format.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb_image_resize.h>

#define STB_DXT_IMPLEMENTATION
#define STB_DXT_STATIC
#include <stb_dxt.h>

namespace texture_tools {

namespace {

stbir_filter StbFilter(ResizeFilter filter) {
    return filter == ResizeFilter::kBox ? STBIR_FILTER_BOX : STBIR_FILTER_MITCHELL;
}

// The resampler's mirror mode is left out on purpose: it reads outside an
// image narrower than the filter's reach.
stbir_edge StbEdge(ResizeEdge edge) { return edge == ResizeEdge::kClamp ? STBIR_EDGE_CLAMP : STBIR_EDGE_WRAP; }

}  // namespace

void Resize(const ImageView& source, Image& destination, ResizeFilter filter, ResizeEdge edge, bool alpha_weighted) {
    int alpha_channel = alpha_weighted ? 3 : STBIR_ALPHA_CHANNEL_NONE;
    if (!stbir_resize_uint8_generic(source.pixels, source.width, source.height, source.row_pitch,
                                    destination.pixels.data(), destination.width, destination.height, destination.width * 4,
                                    4, alpha_channel, 0, StbEdge(edge), StbFilter(filter), STBIR_COLORSPACE_LINEAR, nullptr))
        xDebug::Error("texture_tools/stb_backend", __LINE__,
                      format("Cannot resize a %1%x%2% image to %3%x%4%") % source.width % source.height % destination.width %
                          destination.height);
}

void CompressBlock(const uint8_t* block, bool with_alpha, bool high_quality, uint8_t* out) {
    stb_compress_dxt_block(out, block, with_alpha ? 1 : 0, high_quality ? STB_DXT_HIGHQUAL : STB_DXT_NORMAL);
}

}  // namespace texture_tools
