#pragma once
// What decides an engine material's shader, layers and blend: the
// classification inputs of a host material and a CorvaneMtl's parameters.
#include "geometry/material_traits.h"
#include "host/material.h"
#include "host/texture.h"

namespace materials {

struct MaterialInputs {
    /// The material whose maps and values are read: a CorvaneMtl's
    /// sub-material 0 (null when it has none), else the material itself.
    const host::Material* queried = nullptr;
    float bump = 0.0f;       ///< bump map amount, 0 without a switched-on bump map
    float specLevel = 0.0f;  ///< the same for the specular-level map
    bool twoLayer = false;   ///< two-layer material, or a Mix or RGB Multiply diffuse map
    bool multiplyMap = false;
    int layers = 1;

    bool corvane = false;        ///< the material is a CorvaneMtl; the values below are its parameters
    int transparency = 0;        ///< 0-4: none, test, blend, add, sub
    bool modulate2x = false;
    bool envmapUse = false;
    float reflection = 0.0f;     ///< reflection coefficient
    const host::Texture* mask = nullptr;
    const host::Texture* envMap = nullptr;
};

/// The inputs of material at time 0. traits are the material's traits from
/// the model's material table (its bump and specular-level amounts). For a
/// CorvaneMtl with environment mapping on, layers count its diffuse, mask
/// and environment map, and the bump, specular-level and two-layer inputs
/// are off.
MaterialInputs ReadMaterialInputs(const host::Material& material, const geometry::MaterialTraits& traits);

}  // namespace materials
