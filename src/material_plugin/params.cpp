#include "material_plugin/params.h"

#include "material_plugin/messages.h"
#include "material_plugin/string_table.h"

namespace corvane {

namespace {

host::ParamDef Param(int id, const char* name, host::ParamType type, host::ControlType control, std::vector<int> control_ids) {
    host::ParamDef def;
    def.id = id;
    def.internalName = name;
    def.type = type;
    def.control = control;
    def.controlIds = std::move(control_ids);
    return def;
}

host::ParamBlockDesc BuildParamDesc() {
    using host::ControlType;
    using host::ParamType;
    host::ParamBlockDesc desc;
    desc.blockId = kBlockId;
    desc.internalName = "params";
    desc.refNumber = kRefParamBlock;
    desc.flags = host::kBlockAutoConstruct | host::kBlockAutoUi;
    desc.dialogId = kDialogId;
    desc.rollupTitle = ResourceString(kStrParameters);

    host::ParamDef sub_material = Param(kParamSubMaterial, "mtl_mat1", ParamType::kMaterial, ControlType::kMaterialButton, {1497});
    sub_material.refNumber = kRefSubMaterial;
    host::ParamDef blend_type =
        Param(kParamBlendType, "blend_type", ParamType::kInt, ControlType::kRadioButtons, {1001, 1002, 1003, 1004, 1005});
    for (const char* label : msg::kBlendLabels) blend_type.labels.push_back(Message(label));
    host::ParamDef amount = Param(kParamEnvmapAmount, "envmap_amount", ParamType::kFloat, ControlType::kFloatSpinner, {1008, 1009});
    amount.defaultFloat = 0.5f;
    amount.hasRange = true;
    amount.rangeMin = 0.0f;
    amount.rangeMax = 1.0f;
    host::ParamDef mask = Param(kParamEnvmapMask, "envmap_mask", ParamType::kTexture, ControlType::kMapButton, {1010});
    mask.refNumber = kRefMask;
    host::ParamDef map = Param(kParamEnvmapMap, "envmap_map", ParamType::kTexture, ControlType::kMapButton, {1011});
    map.refNumber = kRefEnvMap;
    desc.params = {
        sub_material,
        blend_type,
        Param(kParamModulate2x, "modulae2x", ParamType::kBool, ControlType::kCheckBox, {1006}),
        Param(kParamEnvmapUse, "envmap_use", ParamType::kBool, ControlType::kCheckBox, {1007}),
        amount,
        mask,
        map,
    };
    return desc;
}

}  // namespace

const host::ParamBlockDesc& ParamDesc() {
    static const host::ParamBlockDesc desc = BuildParamDesc();
    return desc;
}

}  // namespace corvane
