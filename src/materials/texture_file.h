#pragma once
// A texture's file in the game tree: copied when the engine reads the
// source as it is, otherwise sampled through the host and written as a DDS
// or bitmap file; refreshed only when the source is newer.
#include <cstdint>
#include <string>

#include "host/material.h"
#include "host/texture.h"
#include "materials/texture_name.h"
#include "scene/report.h"

namespace materials {

// Alpha flags of a texture file, read by the material's blend rule.
enum : uint32_t {
    kAlphaChannel = 0x1,   ///< the file keeps an alpha channel: no fallback blend word "none"
    kAlphaBlend = 0x2,     ///< the alpha is meant for blending
    kAlphaAdditive = 0x4,  ///< the texture is meant to be added (no texture says so yet)
};

/// The side of a procedural map's samples: it has no size of its own.
inline constexpr int kProceduralSide = 256;

/// What the copy or conversion of one texture knows.
struct TextureSource {
    const host::Texture* texture = nullptr;
    /// The material whose slots are asked: sub-texture 8 is its bump map.
    const host::Material* material = nullptr;
    /// The material's bump amount (0..1).
    float bumpAmount = 0.0f;
    TextureName name;
    /// DestinationPath of the name.
    std::string destination;
};

/// Writes or refreshes the file of source and returns its alpha flags.
/// A bitmap whose file is a ".bmp", ".tga" or ".dds" is copied unless it is
/// a Normal Bump map in the bump slot; anything else is sampled (a bump map
/// into a normal map) and written as ".dds" or ".bmp" by its size. The file
/// is written only when it is missing or older than the source file (a map
/// without a file is written only when missing). A copy or conversion that
/// fails shows a warning naming the source and the destination, and the
/// export goes on. The flags depend on the source alone, never on whether
/// the file was written.
uint32_t WriteTextureFile(const TextureSource& source, scene::Reporter& report);

/// The file WriteTextureFile writes for source (its extension decided).
std::string TextureFilePath(const TextureSource& source);

}  // namespace materials
