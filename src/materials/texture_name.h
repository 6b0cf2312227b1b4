#pragma once
// The name a texture has in the game's resource tree, and where its file goes.
#include <string>

#include "host/material.h"
#include "host/texture.h"
#include "scene/report.h"

namespace materials {

/// The export options and the directory that texture names depend on.
struct TexturePaths {
    std::string gameResourcePath;         ///< e.g. "d:/thegame/"
    std::string commonTextureSourcePath;  ///< source folder of shared textures
    std::string commonTexturePathInGame;  ///< their folder under the game path
    std::string commonDir;                ///< where a model's own textures go
};

struct TextureName {
    /// "wall.tga", "$/stone/wall.tga" (shared) or a generated "tex3_0".
    std::string name;
    bool shared = false;
    /// The texture's first file as the host names it; "" for a texture that
    /// is no bitmap or Normal Bump map, or that names no file.
    std::string file;
};

/// The name of texture in layer of the material whose submesh group has
/// index group. material is the one whose slots are asked (sub-texture 8 is
/// its bump map); it may be null. extension is appended where a name is
/// built from a file's stem or generated. A shared file whose remainder
/// under the common source folder is not a plain relative path (a ".."
/// component, a drive or a leading slash) would be written outside the
/// common texture folder: it is refused with an error box and the generated
/// name is used.
TextureName NameTexture(const TexturePaths& paths, const host::Material* material, const host::Texture& texture,
                        int layer, int group, const std::string& extension, scene::Reporter& report);

/// The generated name: "tex<group>_<layer>" followed by extension.
std::string GeneratedName(int group, int layer, const std::string& extension);

/// Where the file of name goes: under the game's common texture folder for
/// a shared texture, otherwise in paths.commonDir.
std::string DestinationPath(const TexturePaths& paths, const TextureName& name);

/// What a material stores: name up to the last dot of its last component.
std::string StoredName(const std::string& name);

/// path with the extension of its last component (from its last dot on)
/// replaced by extension; a path without one gets extension appended.
std::string WithExtension(const std::string& path, const std::string& extension);

/// The extension of path's last component, dot included, or "".
std::string ExtensionOf(const std::string& path);

/// True when file ends in ".bmp", ".tga" or ".dds" in any case, the formats
/// the engine reads as they are.
bool IsEngineFormat(const std::string& file);

}  // namespace materials
