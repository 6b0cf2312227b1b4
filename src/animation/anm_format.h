#pragma once
// The layout of an animation file, shared by its writer and its reader. All
// numbers are little-endian; f32 is IEEE 754 single precision.
//
//   "EANM" u32 version
//   "FRMS" u32 frame count
//   "BMAP" u32 N, then N bone names (length-prefixed strings)
//   per frame with records: "FRM2" u16 frame (from 0) u8 record count, records
//   record: u8 animated bone, u16 flags, [3 f32 position] with flag 0x1,
//           [3 f32 quaternion x y z, w ≤ 0 left out] with flag 0x2,
//           [vertex block] with flag 0x20
//   vertex block: u32 bytes that follow, runs, 8 zero bytes
//   run: u32 first vertex, u16 count, u16 has box, count packed vertices,
//        [6 f32 box: minimum x y z, maximum x y z] when it has a box
#include <cstdint>

namespace animation::anm {

inline constexpr char kFileTag[4] = {'E', 'A', 'N', 'M'};
inline constexpr char kFramesTag[4] = {'F', 'R', 'M', 'S'};
inline constexpr char kBoneMapTag[4] = {'B', 'M', 'A', 'P'};
inline constexpr char kFrameTag[4] = {'F', 'R', 'M', '2'};
inline constexpr uint32_t kVersion = 0x00060001;

/// The most records one frame holds.
inline constexpr int32_t kMaxRecordsPerFrame = 255;

inline constexpr int32_t kRunHeaderSize = 8;   ///< first, count, has box
inline constexpr int32_t kBoxSize = 24;        ///< 6 f32
inline constexpr int32_t kTerminatorSize = 8;  ///< a run of first 0 and count 0

}  // namespace animation::anm
