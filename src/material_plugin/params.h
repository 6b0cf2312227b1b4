#pragma once
// The identity of the CorvaneMtl class and the layout of what it keeps: the
// parameter block, the reference slots, the cached flags and the save chunks.
#include <cstdint>

#include "host/class_id.h"
#include "host/param_block.h"

namespace corvane {

inline constexpr host::ClassId kClassId{0x71CA8543, 0x0C80AD68};
inline constexpr const char* kInternalName = "CorvaneMtl";

inline constexpr int kBlockId = 0;
inline constexpr int kDialogId = 101;

// Parameter ids of block 0.
enum ParamId : int {
    kParamSubMaterial = 0,  ///< material, shown on the material button
    kParamBlendType = 1,    ///< integer 0-4, the transparency radio buttons
    kParamModulate2x = 2,   ///< boolean
    kParamEnvmapUse = 3,    ///< boolean
    kParamEnvmapAmount = 4, ///< float 0-1
    kParamEnvmapMask = 5,   ///< texture
    kParamEnvmapMap = 6,    ///< texture
};

// Reference slots of the material.
enum RefSlot : int { kRefSubMaterial = 0, kRefParamBlock = 1, kRefMask = 2, kRefEnvMap = 3, kRefCount = 4 };

// The sub-texture slots of the material's own two maps; slots from 0 up
// belong to the sub-material.
enum : int { kSlotMask = -2, kSlotEnvMap = -3 };

// Bits of the cached flags.
enum : uint32_t { kFlagsBlendType = 0x7, kFlagModulate2x = 0x8, kFlagEnvmapUse = 0x10 };

// Chunks the material saves.
enum : uint16_t { kChunkBase = 0x4000, kChunkCached = 0x4001 };

/// The descriptor of block 0, built once; lives as long as the library.
const host::ParamBlockDesc& ParamDesc();

}  // namespace corvane
