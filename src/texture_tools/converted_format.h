#pragma once
// Which file a converted texture becomes.
namespace texture_tools {

enum class ConvertedFormat {
    kDds,  ///< block-compressed with a full mip chain (WriteDds)
    kBmp,  ///< uncompressed, every pixel as sampled (WriteBmp)
};

/// DDS when both sides are powers of two of at least 4, otherwise BMP.
///
/// Block compression works on 4x4 blocks and the engine's texture hardware
/// takes compressed textures with mip chains only at power-of-two sizes; a
/// side below 4 is smaller than one block, so compression would spend a whole
/// block on it for nothing and blur what little the texture holds (ramps and
/// lookup strips are typically that thin). Those sizes keep every pixel in an
/// uncompressed bitmap, which the engine reads directly as it reads the
/// bitmaps it is given.
ConvertedFormat ChooseConvertedFormat(int width, int height);

/// ".dds" or ".bmp": the extension the destination file gets.
const char* Extension(ConvertedFormat format);

}  // namespace texture_tools
