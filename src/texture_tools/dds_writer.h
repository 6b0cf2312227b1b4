#pragma once
// The DDS writer of texture conversion: RGBA8 pixels in, a block-compressed
// DDS file with its mip chain out, appended to a stream.
#include <cstdint>

#include "io/stream.h"

namespace texture_tools {

// Compression format codes (DdsOptions::format).
enum : uint32_t {
    kDdsFormatBc1 = 0x401,      ///< always BC1 (FourCC DXT1); alpha is dropped
    kDdsFormatBc3 = 0x405,      ///< always BC3 (FourCC DXT5)
    kDdsFormatByAlpha = 0x409,  ///< BC1 when every alpha is 255, otherwise BC3
};

// Mip-map codes (DdsOptions::mipmaps).
enum : uint32_t {
    kDdsMipTopOnly = 0x3F0,  ///< the given level alone
    kDdsMipChain = 0x3F2,    ///< every level, each side halved (rounded down) until 1x1
};

// Mip-map filter codes (DdsOptions::filter).
enum : uint32_t {
    kDdsFilterBox = 0x410,       ///< the average of the covered pixels
    kDdsFilterMitchell = 0x411,  ///< the Mitchell-Netravali cubic: keeps detail, little ringing
};

// Edge codes (DdsOptions::edge): what the mip filter sees past an edge. A
// mirrored edge (2) is not offered: the resampler's mirror mode reads outside
// images narrower than its filter, which every mip chain reaches.
enum : int32_t {
    kDdsEdgeClamp = 1,  ///< the edge pixel repeated
    kDdsEdgeWrap = 3,   ///< the opposite edge: textures tile
};

/// What the writer makes of the pixels. The defaults are the plain choices;
/// texture conversion sets format 0x409, mipmaps 0x3F2, filter 0x411,
/// scale 1.0, refinement_passes 2 and edge 3: BC1 or BC3 by alpha, a full
/// chain filtered with the Mitchell cubic across wrapping edges, and the
/// compressor's high-quality mode. A code the writer does not know is an
/// error.
struct DdsOptions {
    uint32_t format = kDdsFormatByAlpha;
    uint32_t mipmaps = kDdsMipChain;
    uint32_t filter = kDdsFilterMitchell;
    /// Factor on both sides of the top level (rounded to the nearest pixel,
    /// at least 1); 1 keeps the size. Must be positive and finite.
    float scale = 1.0f;
    /// Refinement passes of the block compressor on each block's end points:
    /// 1, or 2 for its high-quality mode (about a third slower).
    int32_t refinement_passes = 1;
    int32_t edge = kDdsEdgeClamp;
};

/// Appends to sink a DDS file of the image: the magic, the header, then each
/// level as blocks. pixels holds height rows of width RGBA8 pixels, row_pitch
/// bytes apart (at least width * 4); plane_count must be 1. The pixels are
/// only read. Each level is filtered from the one above it. Raises an error
/// (source texture_tools/dds_writer) before writing anything for a size
/// outside 1 to 16384, a short row pitch, another plane count, a bad scale or
/// an unknown option code; errors of the sink pass through.
void WriteDds(const uint8_t* pixels, int32_t width, int32_t height, int32_t row_pitch, int32_t plane_count,
              const DdsOptions& options, xIo::eStream& sink);

}  // namespace texture_tools
