#include "material_plugin/dialog.h"

#include "material_plugin/corvane_mtl.h"
#include "material_plugin/params.h"

namespace corvane {

Dialog::Dialog(CorvaneMtl& material, std::unique_ptr<host::ParamMap> map) : material_(material), map_(std::move(map)) {
    map_->SetUserDlgProc(this);
    map_->Invalidate();
}

Dialog::~Dialog() { map_->SetUserDlgProc(nullptr); }

void Dialog::Update(host::ParamMap& map, host::TimeValue t) {
    const host::ParamBlock& block = map.GetParamBlock();
    int envmap_use = 0;
    host::Texture* mask = nullptr;
    block.GetValue(kParamEnvmapUse, t, envmap_use);
    block.GetValue(kParamEnvmapMask, t, mask);
    map.Enable(kParamEnvmapAmount, envmap_use != 0 && mask == nullptr);
    map.Enable(kParamEnvmapMask, envmap_use != 0);
    map.Enable(kParamEnvmapMap, envmap_use != 0);
}

bool Dialog::AcceptDrop(host::ParamMap&, int id, host::ReferenceTarget* value) {
    return id != kParamSubMaterial || !material_.RefusesSubMaterial(value);
}

}  // namespace corvane
