#pragma once
// The layout of the DDS files we write and read: the magic, the 124-byte
// header with its 32-byte pixel format, then every mip level from the largest
// down, each stored as rows of 4x4 blocks. Little-endian throughout.
#include <cstddef>
#include <cstdint>

namespace texture_tools::dds {

/// A FourCC code as its four characters read as a little-endian word.
constexpr uint32_t FourCc(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 | uint32_t(uint8_t(d)) << 24;
}

constexpr uint32_t kMagic = FourCc('D', 'D', 'S', ' ');
constexpr uint32_t kFourCcDxt1 = FourCc('D', 'X', 'T', '1');
constexpr uint32_t kFourCcDxt5 = FourCc('D', 'X', 'T', '5');

constexpr uint32_t kHeaderSize = 124;       ///< the header's own size field
constexpr uint32_t kPixelFormatSize = 32;   ///< the pixel format's own size field
constexpr size_t kFileHeaderSize = 4 + kHeaderSize;  ///< magic and header: where level 0 starts

/// Byte offsets of the header fields, counted from the start of the file.
enum Offset : size_t {
    kOffsetHeaderSize = 4,
    kOffsetFlags = 8,
    kOffsetHeight = 12,
    kOffsetWidth = 16,
    kOffsetLinearSize = 20,
    kOffsetDepth = 24,
    kOffsetMipCount = 28,
    kOffsetPixelFormatSize = 76,
    kOffsetPixelFormatFlags = 80,
    kOffsetFourCc = 84,
    kOffsetBitCount = 88,
    kOffsetCaps = 108,
    kOffsetCaps2 = 112,
};

// Header flags: which fields hold meaning.
enum : uint32_t {
    kFlagCaps = 0x1,
    kFlagHeight = 0x2,
    kFlagWidth = 0x4,
    kFlagPitch = 0x8,
    kFlagPixelFormat = 0x1000,
    kFlagMipCount = 0x20000,
    kFlagLinearSize = 0x80000,
    kFlagDepth = 0x800000,
};

// Pixel format flags.
enum : uint32_t {
    kPixelAlphaPixels = 0x1,
    kPixelAlpha = 0x2,
    kPixelFourCc = 0x4,
    kPixelRgb = 0x40,
    kPixelLuminance = 0x20000,
};

// Surface capabilities.
enum : uint32_t {
    kCapsComplex = 0x8,
    kCapsTexture = 0x1000,
    kCapsMipmap = 0x400000,
    kCaps2Cubemap = 0x200,
    kCaps2Volume = 0x200000,
};

/// The largest side we write or accept; it keeps every size well inside
/// 32-bit arithmetic.
constexpr int kMaxSide = 16384;

}  // namespace texture_tools::dds

namespace texture_tools {

/// The two block compressions we write: BC1 (FourCC DXT1, colour only, 8
/// bytes a block) and BC3 (FourCC DXT5, 8 bytes of alpha then 8 of colour).
enum class BlockFormat { kBc1, kBc3 };

constexpr int BlockBytes(BlockFormat format) { return format == BlockFormat::kBc1 ? 8 : 16; }

/// Blocks along a side of side pixels: partial blocks count whole.
constexpr int BlockCount(int side) { return (side + 3) / 4; }

/// Bytes of one level of width x height pixels.
constexpr size_t LevelSize(int width, int height, int block_bytes) {
    return size_t(BlockCount(width)) * size_t(BlockCount(height)) * size_t(block_bytes);
}

/// Side of mip level level of a side of side pixels: halved and rounded down,
/// never below 1.
constexpr int MipSide(int side, int level) {
    int halved = side >> level;
    return halved > 0 ? halved : 1;
}

/// Levels of a complete chain from width x height down to 1x1.
constexpr int FullMipCount(int width, int height) {
    int count = 1;
    for (int side = width > height ? width : height; side > 1; side >>= 1) ++count;
    return count;
}

}  // namespace texture_tools
