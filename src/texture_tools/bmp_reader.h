#pragma once
// The structural check of the bitmap files texture conversion writes:
// uncompressed, one plane, 24 or 32 bits a pixel. Input is untrusted: any
// bytes give either a description or a reason with the byte offset where the
// file went wrong, never an access outside the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace texture_tools {

struct BmpInfo {
    int32_t width = 0;
    int32_t height = 0;           ///< rows, whatever the order
    bool bottom_up = true;        ///< a positive stored height: the last row comes first
    int32_t bit_count = 0;        ///< 24 or 32
    uint32_t info_size = 0;       ///< the information header's own size (40 or more)
    uint32_t pixel_offset = 0;    ///< where the rows start
    uint32_t row_size = 0;        ///< bytes of one stored row, padding included
    size_t file_size = 0;
};

struct BmpReadResult {
    bool ok = false;
    std::string reason;  ///< why the file is malformed; empty when ok
    size_t offset = 0;   ///< byte offset of the field or place that is wrong
    BmpInfo info;        ///< complete when ok
};

/// Checks bytes as a bitmap file: the "BM" signature, a file size field
/// equal to the length, an information header of at least 40 bytes, a width
/// and height of 1 to 16384 (a negative height: rows top-down), one plane,
/// 24 or 32 bits a pixel, no compression, an image size field of 0 or the
/// rows' size, and the rows ending exactly at the end of the file.
BmpReadResult ReadBmp(std::string_view bytes);

/// The pixel at column x of row y (counted from the top) of a checked file,
/// as red, green, blue, alpha (255 for 24 bits).
void BmpPixel(std::string_view bytes, const BmpInfo& info, int32_t x, int32_t y, uint8_t* rgba);

}  // namespace texture_tools
