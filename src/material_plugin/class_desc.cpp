#include "material_plugin/class_desc.h"

#include "material_plugin/corvane_mtl.h"
#include "material_plugin/params.h"
#include "material_plugin/string_table.h"

namespace corvane {

std::unique_ptr<host::ReferenceTarget> ClassDescriptor::Create(host::PluginServices& services, bool loading) {
    auto material = std::make_unique<CorvaneMtl>(services);
    if (!loading) material->Reset();
    return material;
}

const char* ClassDescriptor::ClassName() const { return ResourceString(kStrClassName); }
const char* ClassDescriptor::InternalName() const { return kInternalName; }
host::ClassId ClassDescriptor::ClassID() const { return kClassId; }
const char* ClassDescriptor::Category() const { return ResourceString(kStrCategory); }

const host::ParamBlockDesc* ClassDescriptor::GetParamBlockDesc(int i) const { return i == 0 ? &ParamDesc() : nullptr; }

ClassDescriptor& TheClassDesc() {
    static ClassDescriptor desc;
    return desc;
}

}  // namespace corvane
