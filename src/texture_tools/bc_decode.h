#pragma once
// Decoding of the block formats we write, for checks and measurements: the
// inspector's colour summary, the tests' round trips and the benchmark's
// quality figure.
#include <array>
#include <cstdint>

#include "texture_tools/dds_format.h"
#include "texture_tools/image.h"

namespace texture_tools {

/// Decodes an 8-byte BC1 colour block into 16 pixels (64 bytes, rows of four
/// RGBA8 pixels). End points are expanded from 5:6:5 by repeating their top
/// bits and the in-between colours rounded down, as the format defines. In
/// four-colour blocks (first end point above the second) alpha is 255; in
/// three-colour blocks index 3 is transparent black unless colour_only (the
/// colour half of a BC3 block always has four colours).
void DecodeBc1Block(const uint8_t* block, uint8_t* pixels, bool colour_only = false);

/// Decodes a 16-byte BC3 block (alpha half, then colour half) into 16 pixels.
void DecodeBc3Block(const uint8_t* block, uint8_t* pixels);

/// Decodes a level of width x height pixels stored as
/// LevelSize(width, height, BlockBytes(format)) bytes at data, dropping the
/// padding of partial blocks.
Image DecodeLevel(const uint8_t* data, int width, int height, BlockFormat format);

/// The mean of each channel over the decoded pixels of such a level (padding
/// left out), rounded to the nearest integer; decoded block by block, so a
/// large level needs no image in memory.
std::array<uint8_t, 4> MeanColour(const uint8_t* data, int width, int height, BlockFormat format);

}  // namespace texture_tools
