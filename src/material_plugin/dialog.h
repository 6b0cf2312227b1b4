#pragma once
// The dialog of a CorvaneMtl: the host's dialog model on the material's
// block, with the plug-in's enable rules and the sub-material slot's refusal.
#include <memory>

#include "host/param_map.h"

namespace corvane {

class CorvaneMtl;

class Dialog : public host::ParamMapUserDlgProc {
public:
    /// Installs itself as map's hook and shows the block's values.
    Dialog(CorvaneMtl& material, std::unique_ptr<host::ParamMap> map);
    ~Dialog() override;

    host::ParamMap& Map() const { return *map_; }

    /// The enable rules: the coefficient only when environment mapping is on
    /// and no mask is set; the mask and map buttons exactly when environment
    /// mapping is on.
    void Update(host::ParamMap& map, host::TimeValue t) override;
    /// Refuses a multi/sub-object material dropped on the material button.
    bool AcceptDrop(host::ParamMap& map, int id, host::ReferenceTarget* value) override;

private:
    CorvaneMtl& material_;
    std::unique_ptr<host::ParamMap> map_;
};

}  // namespace corvane
