#pragma once
// The layout of the bitmap files we write and read: a 14-byte file header,
// a 40-byte information header, then the pixel rows. Little-endian.
#include <cstdint>

namespace texture_tools::bmp {

constexpr uint16_t kSignature = 0x4D42;  ///< "BM"
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;  ///< where our pixel rows start

/// Byte offsets of the header fields, counted from the start of the file.
enum Offset : uint32_t {
    kOffsetFileSize = 2,
    kOffsetPixelOffset = 10,
    kOffsetInfoSize = 14,
    kOffsetWidth = 18,
    kOffsetHeight = 22,
    kOffsetPlanes = 26,
    kOffsetBitCount = 28,
    kOffsetCompression = 30,
    kOffsetImageSize = 34,
};

/// Bytes of one stored row: width pixels of bit_count bits, padded to a
/// multiple of 4.
constexpr uint32_t RowSize(int32_t width, int bit_count) {
    return (static_cast<uint32_t>(width) * static_cast<uint32_t>(bit_count) / 8 + 3) / 4 * 4;
}

}  // namespace texture_tools::bmp
