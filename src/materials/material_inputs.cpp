#include "materials/material_inputs.h"

#include "host/class_id.h"
#include "host/param_block.h"

namespace materials {

namespace {

constexpr host::ClassId kCorvaneMtlClassId{0x71CA8543, 0x0C80AD68};

// The CorvaneMtl parameter block and its parameter ids.
constexpr int kCorvaneBlock = 0;
enum : int {
    kParamBlendType = 1,
    kParamModulate2x = 2,
    kParamEnvmapUse = 3,
    kParamEnvmapAmount = 4,
    kParamEnvmapMask = 5,
    kParamEnvmapMap = 6,
};

bool IsClass(const host::Texture* t, const host::ClassId& id) { return t != nullptr && t->ClassID() == id; }

void ReadCorvane(const host::Material& material, MaterialInputs& in) {
    in.corvane = true;
    const host::ParamBlock* block = material.GetParamBlockById(kCorvaneBlock);
    if (block == nullptr) return;
    int value = 0;
    if (block->GetValue(kParamBlendType, 0, value)) in.transparency = value;
    value = 0;
    if (block->GetValue(kParamModulate2x, 0, value)) in.modulate2x = value != 0;
    value = 0;
    if (block->GetValue(kParamEnvmapUse, 0, value)) in.envmapUse = value != 0;
    float amount = 0.0f;
    if (block->GetValue(kParamEnvmapAmount, 0, amount)) in.reflection = amount;
    host::Texture* texture = nullptr;
    if (block->GetValue(kParamEnvmapMask, 0, texture)) in.mask = texture;
    texture = nullptr;
    if (block->GetValue(kParamEnvmapMap, 0, texture)) in.envMap = texture;
}

}  // namespace

MaterialInputs ReadMaterialInputs(const host::Material& material, const geometry::MaterialTraits& traits) {
    MaterialInputs in;
    in.queried = &material;
    if (material.ClassID() == kCorvaneMtlClassId) {
        ReadCorvane(material, in);
        in.queried = material.GetSubMtl(0);
    }
    if (in.corvane && in.envmapUse) {
        in.layers = 1 + (in.mask != nullptr ? 1 : 0) + (in.envMap != nullptr ? 1 : 0);
        return in;
    }
    in.bump = traits.bump;
    in.specLevel = traits.specLevel;
    const host::Texture* diffuse = in.queried ? in.queried->GetSubTexmap(host::kMapDiffuse) : nullptr;
    in.multiplyMap = IsClass(diffuse, host::kRgbMultiplyClassId);
    in.twoLayer = (in.queried != nullptr && in.queried->ClassID() == host::kTwoLayerMaterialClassId) ||
                  IsClass(diffuse, host::kMixTextureClassId) || in.multiplyMap;
    in.layers = in.twoLayer ? 2 : 1 + (in.bump > 0 ? 1 : 0) + (in.specLevel > 0 ? 1 : 0);
    return in;
}

}  // namespace materials
