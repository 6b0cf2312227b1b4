#include "material_plugin/corvane_mtl.h"

#include "material_plugin/dialog.h"
#include "material_plugin/messages.h"
#include "material_plugin/params.h"

namespace corvane {

CorvaneMtl::CorvaneMtl(host::PluginServices& services)
    : services_(services), block_(services.CreateParamBlock(ParamDesc(), this)) {}

CorvaneMtl::~CorvaneMtl() = default;

host::ClassId CorvaneMtl::ClassID() const { return kClassId; }

int CorvaneMtl::NumRefs() const { return kRefCount; }

host::ReferenceTarget* CorvaneMtl::GetReference(int i) const {
    switch (i) {
        case kRefSubMaterial: return sub_material_;
        case kRefParamBlock: return block_.get();
        case kRefMask: return Mask();
        case kRefEnvMap: return EnvMap();
        default: return nullptr;
    }
}

void CorvaneMtl::SetReference(int i, host::ReferenceTarget* target) {
    if (i == kRefSubMaterial) {
        auto* material = dynamic_cast<host::Material*>(target);
        if (material || !target) block_->SetValue(kParamSubMaterial, 0, material);
    } else if (i == kRefMask || i == kRefEnvMap) {
        auto* texture = dynamic_cast<host::Texture*>(target);
        if (texture || !target) block_->SetValue(i == kRefMask ? kParamEnvmapMask : kParamEnvmapMap, 0, texture);
    }
}

void CorvaneMtl::OnReferenceChanged(host::ReferenceTarget* from, host::RefMessage message, int param_id) {
    if (message == host::RefMessage::kTargetDeleted) {
        // The block would otherwise keep a pointer to a target that is gone.
        if (from == nullptr) return;
        if (from == sub_material_) block_->SetValue(kParamSubMaterial, 0, static_cast<host::Material*>(nullptr));
        if (from == Mask()) block_->SetValue(kParamEnvmapMask, 0, static_cast<host::Texture*>(nullptr));
        if (from == EnvMap()) block_->SetValue(kParamEnvmapMap, 0, static_cast<host::Texture*>(nullptr));
        return;
    }
    validity_.SetEmpty();
    if (from != block_.get() || !block_) return;
    if (param_id == kParamSubMaterial) SubMaterialChanged();
    if (dialog_) dialog_->Map().Invalidate(param_id);
}

// Whatever path a multi/sub-object material took into the block (the host
// writing the block directly), the slot keeps its previous material.
void CorvaneMtl::SubMaterialChanged() {
    host::Material* held = nullptr;
    block_->GetValue(kParamSubMaterial, 0, held);
    if (held != sub_material_ && RefusesSubMaterial(held)) {
        block_->SetValue(kParamSubMaterial, 0, sub_material_);
        return;
    }
    sub_material_ = held;
}

bool CorvaneMtl::RefusesSubMaterial(host::ReferenceTarget* value) {
    const auto* material = dynamic_cast<const host::Material*>(value);
    if (material == nullptr || !material->IsMultiMtl()) return false;
    services_.ShowMessageBox({services_.GetMainWindow(), Message(msg::kMultiMaterialRefused),
                              Message(msg::kCaptionAttention), host::MessageBoxIcon::kNone,
                              host::MessageBoxButtons::kOk});
    return true;
}

host::Material* CorvaneMtl::GetSubMtl(int i) const { return i == 0 ? sub_material_ : nullptr; }

bool CorvaneMtl::SetSubMtl(int i, host::Material* material) {
    if (i != 0 || RefusesSubMaterial(material)) return false;
    block_->SetValue(kParamSubMaterial, 0, material);
    return true;
}

std::string CorvaneMtl::GetSubMtlSlotName(int i) const {
    return i == 0 ? ParamDesc().Find(kParamSubMaterial)->internalName : std::string();
}

host::Texture* CorvaneMtl::TextureParam(int id) const {
    host::Texture* texture = nullptr;
    block_->GetValue(id, 0, texture);
    return texture;
}

host::Texture* CorvaneMtl::Mask() const { return TextureParam(kParamEnvmapMask); }
host::Texture* CorvaneMtl::EnvMap() const { return TextureParam(kParamEnvmapMap); }

int CorvaneMtl::NumSubTexmaps() const { return sub_material_ ? sub_material_->NumSubTexmaps() : 0; }

host::Texture* CorvaneMtl::GetSubTexmap(int i) const {
    if (i == kSlotMask) return Mask();
    if (i == kSlotEnvMap) return EnvMap();
    return i >= 0 && sub_material_ ? sub_material_->GetSubTexmap(i) : nullptr;
}

void CorvaneMtl::SetSubTexmap(int i, host::Texture* texture) {
    if (i == kSlotMask) block_->SetValue(kParamEnvmapMask, 0, texture);
    else if (i == kSlotEnvMap) block_->SetValue(kParamEnvmapMap, 0, texture);
    else if (i >= 0 && sub_material_) sub_material_->SetSubTexmap(i, texture);
}

std::string CorvaneMtl::GetSubTexmapSlotName(int i) const {
    if (i == kSlotMask) return ParamDesc().Find(kParamEnvmapMask)->internalName;
    if (i == kSlotEnvMap) return ParamDesc().Find(kParamEnvmapMap)->internalName;
    return i >= 0 && sub_material_ ? sub_material_->GetSubTexmapSlotName(i) : std::string();
}

void CorvaneMtl::Update(host::TimeValue t, host::Interval& valid) {
    if (!validity_.InInterval(t)) {
        validity_.SetInfinite();
        int blend_type = 0, modulate2x = 0, envmap_use = 0;
        float amount = 0.0f;
        block_->GetValue(kParamBlendType, t, blend_type, &validity_);
        block_->GetValue(kParamModulate2x, t, modulate2x, &validity_);
        block_->GetValue(kParamEnvmapUse, t, envmap_use, &validity_);
        block_->GetValue(kParamEnvmapAmount, t, amount, &validity_);
        cached_flags_ = (static_cast<uint32_t>(blend_type) & kFlagsBlendType) | (modulate2x ? kFlagModulate2x : 0u) |
                        (envmap_use ? kFlagEnvmapUse : 0u);
        cached_amount_ = amount;
    }
    if (sub_material_) sub_material_->Update(t, valid);
    if (host::Texture* mask = Mask()) mask->Update(t, valid);
    if (host::Texture* env_map = EnvMap()) env_map->Update(t, valid);
    valid &= validity_;
    if (dialog_) dialog_->Update(dialog_->Map(), t);
}

host::Interval CorvaneMtl::Validity(host::TimeValue t) const {
    host::Interval valid = validity_;
    if (sub_material_) valid &= sub_material_->Validity(t);
    if (host::Texture* mask = Mask()) valid &= mask->Validity(t);
    if (host::Texture* env_map = EnvMap()) valid &= env_map->Validity(t);
    return valid;
}

host::ParamBlock* CorvaneMtl::GetParamBlock(int i) const { return i == 0 ? block_.get() : nullptr; }

host::ParamBlock* CorvaneMtl::GetParamBlockById(int block_id) const {
    return block_id == kBlockId ? block_.get() : nullptr;
}

host::ParamMap* CorvaneMtl::CreateParamDlg(host::PluginServices& services) {
    if (!dialog_) dialog_ = std::make_unique<Dialog>(*this, services.CreateParamMap(*block_));
    return &dialog_->Map();
}

void CorvaneMtl::CloseParamDlg() { dialog_.reset(); }

host::ParamMap* CorvaneMtl::OpenDialog() const { return dialog_ ? &dialog_->Map() : nullptr; }

void CorvaneMtl::Reset() {
    block_->ResetAll();
    validity_.SetEmpty();
}

}  // namespace corvane
