#pragma once
// How the host learns about the CorvaneMtl class and creates its materials.
#include "host/plugin.h"

namespace corvane {

class ClassDescriptor : public host::ClassDesc {
public:
    bool IsPublic() const override { return true; }
    /// A new CorvaneMtl; unless loading, reset to its defaults.
    std::unique_ptr<host::ReferenceTarget> Create(host::PluginServices& services, bool loading) override;
    const char* ClassName() const override;
    const char* InternalName() const override;
    host::SuperClassId SuperClassID() const override { return host::kMaterialClass; }
    host::ClassId ClassID() const override;
    const char* Category() const override;
    int NumParamBlockDescs() const override { return 1; }
    const host::ParamBlockDesc* GetParamBlockDesc(int i) const override;
};

/// The library's one class descriptor.
ClassDescriptor& TheClassDesc();

}  // namespace corvane
