#pragma once
// The EVLM image: a polyhedron's geometry inside the model description,
// written as lower-case hexadecimal text. All integers little-endian.
//
//   "EVLM" "VERT" u32 vertex_count, vertex_count × (f32 x, y, z)
//          "INDX" u32 index_count (3 × face_count), index_count × u16
//          "SIDE" u32 face_count, face_count × u8
//
// No version and no size field; the image ends after the last side byte.
#include <cstddef>
#include <cstdint>

namespace volumes {

inline constexpr char kEvlmTag[] = "EVLM";
inline constexpr char kVertTag[] = "VERT";
inline constexpr char kIndxTag[] = "INDX";
inline constexpr char kSideTag[] = "SIDE";
inline constexpr size_t kTagSize = 4;

/// Indices are 16 bits wide, so an image reaches at most this many vertices.
inline constexpr uint32_t kEvlmMaxVertices = 65536;

}  // namespace volumes
