// The shading queries, answered by the sub-material: the material renders
// and previews as the material it wraps.
#include "material_plugin/corvane_mtl.h"

namespace corvane {

host::Color CorvaneMtl::GetAmbient(host::TimeValue t) const { return sub_material_ ? sub_material_->GetAmbient(t) : host::Color(); }
host::Color CorvaneMtl::GetDiffuse(host::TimeValue t) const { return sub_material_ ? sub_material_->GetDiffuse(t) : host::Color(); }
host::Color CorvaneMtl::GetSpecular(host::TimeValue t) const { return sub_material_ ? sub_material_->GetSpecular(t) : host::Color(); }
float CorvaneMtl::GetShinStr(host::TimeValue t) const { return sub_material_ ? sub_material_->GetShinStr(t) : 0.0f; }
float CorvaneMtl::GetShininess(host::TimeValue t) const { return sub_material_ ? sub_material_->GetShininess(t) : 0.0f; }
float CorvaneMtl::GetXParency(host::TimeValue t) const { return sub_material_ ? sub_material_->GetXParency(t) : 0.0f; }
float CorvaneMtl::GetWireSize(host::TimeValue t) const { return sub_material_ ? sub_material_->GetWireSize(t) : 0.0f; }
uint32_t CorvaneMtl::Requirements(int sub_mtl) const { return sub_material_ ? sub_material_->Requirements(sub_mtl) : 0u; }

void CorvaneMtl::Shade(const host::ShadeContext& context, host::ShadeOutput& out) const {
    if (sub_material_) sub_material_->Shade(context, out);
    else out = host::ShadeOutput();
}

}  // namespace corvane
