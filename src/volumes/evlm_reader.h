#pragma once
// Reading an EVLM image back: the hexadecimal text of a model description,
// the bytes, and the structural check of what they hold. For inspection
// tools and tests; the input is untrusted.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "volumes/evlm_format.h"

namespace volumes {

struct EvlmVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct EvlmFace {
    uint16_t index[3] = {0, 0, 0};  ///< as stored: the host's corners 2, 1, 0
    uint8_t side = 0;
};

struct EvlmImage {
    std::vector<EvlmVertex> vertices;
    std::vector<EvlmFace> faces;
};

/// Turns the hexadecimal text of an image into its bytes. False, with the
/// reason in error, for an odd number of digits or a character that is not
/// a lower-case hexadecimal digit.
bool HexToBytes(std::string_view text, std::string& bytes, std::string& error);

/// Decodes bytes into image and checks the structure: the four tags in
/// order, counts that fit the bytes left, an index count of three per face,
/// at most kEvlmMaxVertices vertices, every index below the vertex count,
/// one side per face and nothing after the last side. False, with the
/// reason and its byte offset in error, on the first fault; image is then
/// unspecified. Never reads outside bytes.
bool ReadEvlmImage(std::string_view bytes, EvlmImage& image, std::string& error);

}  // namespace volumes
