#pragma once
// What geometry asks of a face's material: which textures give the two
// texture coordinate sets, the bump and specular-level amounts that decide
// the vertex format, whether it is two-sided, and the name its submeshes
// refer to.
#include <cstdint>
#include <string>
#include <vector>

#include "host/material.h"
#include "host/texture.h"

namespace geometry {

/// Where one texture coordinate set comes from.
struct TextureSet {
    const host::Texture* texture = nullptr;  ///< null: the set is (0, 0) at every corner
    host::UvSource source = host::UvSource::kExplicit;
    int channel = 1;                         ///< the map channel of an explicit source
    host::Matrix3 transform;                 ///< the texture's coordinate transform
};

struct MaterialTraits {
    host::Material* material = nullptr;  ///< the face material itself
    float bump = 0.0f;                   ///< bump map amount (0..1); 0 without a switched-on bump map
    float specLevel = 0.0f;              ///< the same for the specular-level map
    uint32_t uvSets = 1;                 ///< texture coordinate sets the vertices carry
    bool twoSided = false;
    float transparency = 0.0f;           ///< scales vertex alpha towards 0
    TextureSet sets[2];
    std::string reference;               ///< the material name as submeshes refer to it, without prefix
};

/// The traits of material, read at time 0. A CorvaneMtl is asked through its
/// sub-material 0, except for the two-sided flag and its own name.
MaterialTraits ReadMaterialTraits(host::Material& material);

/// The material name as written out: CleanName of the host name (lower case).
std::string MaterialName(const host::Material& material);

/// The textures of material's texture tree (and of its sub-materials) whose
/// coordinates come from world space, sub-textures before their parents.
std::vector<const host::Texture*> WorldMappedTextures(host::Material& material);

}  // namespace geometry
