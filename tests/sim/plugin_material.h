#pragma once
// A plug-in material for tests of the simulated host, as a material plug-in
// would write it: values in a parameter block, a sub-material slot that
// refuses multi-materials, and the class the scene file's CorvaneMtl names.
#include <memory>
#include <vector>

#include "host/param_map.h"
#include "host/plugin.h"
#include "sim/materials.h"

namespace simtest {

class PluginMaterial : public sim::SimMaterial, public host::ParamMapUserDlgProc {
public:
    static const host::ParamBlockDesc& Desc() {
        static const host::ParamBlockDesc desc = [] {
            host::ParamBlockDesc d;
            d.blockId = 0;
            d.params.push_back({0, "mtl_mat1", host::ParamType::kMaterial, 0, 0, {}, {}, false, 0, 0, 0, host::ControlType::kMaterialButton, {1497}, {}});
            d.params.push_back({1, "blend_type", host::ParamType::kInt, 0, 0, {}, {}, false, 0, 0, -1, host::ControlType::kRadioButtons, {1001, 1002}, {}});
            d.params.push_back({3, "envmap_use", host::ParamType::kBool, 0, 0, {}, {}, false, 0, 0, -1, host::ControlType::kCheckBox, {1007}, {}});
            d.params.push_back({4, "envmap_amount", host::ParamType::kFloat, 0, 0.5f, {}, {}, true, 0, 1, -1, host::ControlType::kFloatSpinner, {1008}, {}});
            d.params.push_back({5, "envmap_mask", host::ParamType::kTexture, 0, 0, {}, {}, false, 0, 0, 2, host::ControlType::kMapButton, {1010}, {}});
            d.params.push_back({6, "envmap_map", host::ParamType::kTexture, 0, 0, {}, {}, false, 0, 0, 3, host::ControlType::kMapButton, {1011}, {}});
            d.params.push_back({2, "modulae2x", host::ParamType::kBool, 0, 0, {}, {}, false, 0, 0, -1, host::ControlType::kCheckBox, {1006}, {}});
            return d;
        }();
        return desc;
    }
    explicit PluginMaterial(host::PluginServices& services)
        : SimMaterial({0x71CA8543, 0x0C80AD68}, ""), block_(services.CreateParamBlock(Desc(), this)) {}
    host::ParamBlock* GetParamBlockById(int id) const override { return id == 0 ? block_.get() : nullptr; }
    void OnReferenceChanged(host::ReferenceTarget*, host::RefMessage, int param_id) override { changes.push_back(param_id); }
    void Update(host::ParamMap& map, host::TimeValue t) override {
        int envmap = 0;
        host::Texture* mask = nullptr;
        block_->GetValue(3, t, envmap);
        block_->GetValue(5, t, mask);
        map.Enable(4, envmap && !mask);
        map.Enable(5, envmap);
    }
    bool AcceptDrop(host::ParamMap&, int, host::ReferenceTarget* value) override {
        auto* material = dynamic_cast<host::Material*>(value);
        return !(material && material->IsMultiMtl());
    }
    std::vector<int> changes;

private:
    std::unique_ptr<host::ParamBlock> block_;
};

class PluginClass : public host::ClassDesc {
public:
    std::unique_ptr<host::ReferenceTarget> Create(host::PluginServices& services, bool) override {
        return std::make_unique<PluginMaterial>(services);
    }
    const char* ClassName() const override { return "CorvaneMtl"; }
    host::SuperClassId SuperClassID() const override { return host::kMaterialClass; }
    host::ClassId ClassID() const override { return {0x71CA8543, 0x0C80AD68}; }
    const char* Category() const override { return "material"; }
};

}  // namespace simtest
