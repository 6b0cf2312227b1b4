#pragma once
// The structural check of DDS files: the header read field by field and every
// mip level's bytes found in the file. Input is untrusted: any bytes give
// either a description or a reason with the byte offset where the file went
// wrong, never an access outside the input.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "texture_tools/dds_format.h"

namespace texture_tools {

struct DdsLevel {
    int32_t width = 0;
    int32_t height = 0;
    size_t offset = 0;  ///< from the start of the file
    size_t size = 0;    ///< bytes
};

/// What a well-formed file holds. Besides the block formats we write (FourCC
/// DXT1 and DXT5) the check accepts DXT2, DXT3 and DXT4 and uncompressed
/// layouts of 8, 16, 24 or 32 bits a pixel, as copied texture files may use
/// them; only two-dimensional textures (no cube maps, no volumes).
struct DdsInfo {
    std::string format_name;                ///< "DXT1", ..., or "RGB32", "RGBA32", "L8", "A8", ...
    std::optional<BlockFormat> block_format;  ///< set for DXT1 and DXT5, the formats we can decode
    int32_t block_bytes = 0;                ///< bytes of a 4x4 block; 0 when uncompressed
    int32_t bit_count = 0;                  ///< bits a pixel when uncompressed
    int32_t width = 0;
    int32_t height = 0;
    int32_t mip_count = 0;                  ///< levels present (a count of 0 in the header reads as 1)
    uint32_t flags = 0;
    uint32_t linear_size = 0;               ///< the pitch-or-linear-size field as stored
    uint32_t pixel_format_flags = 0;
    uint32_t caps = 0;
    uint32_t caps2 = 0;
    std::vector<DdsLevel> levels;           ///< largest first
    size_t file_size = 0;
};

struct DdsReadResult {
    bool ok = false;
    std::string reason;  ///< why the file is malformed; empty when ok
    size_t offset = 0;   ///< byte offset of the field or place that is wrong
    DdsInfo info;        ///< complete when ok; the fields read so far otherwise
};

/// Checks bytes as a DDS file: the magic, the header and pixel format sizes,
/// a width and height of 1 to 16384, a supported pixel format, a mip count no
/// longer than the chain down to 1x1, a linear size (when flagged) equal to
/// level 0's size, and exactly the bytes of all levels after the header.
DdsReadResult ReadDds(std::string_view bytes);

}  // namespace texture_tools
