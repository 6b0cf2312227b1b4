#pragma once
// The per-bone steps of the other subsystems, as the bone walk starts them:
// mesh frames and animation samples of each node, mesh boxes, and the mesh
// records of the bones that own a mesh.
#include "export/directory_files.h"
#include "export/export_state.h"
#include "export/model_state.h"
#include "model/bone_steps.h"

namespace export_driver {

class ModelSteps : public model::BoneSteps {
public:
    ModelSteps(const ExportState& state, ModelState& model, DirectoryFiles& directories)
        : state_(state), model_(model), directories_(directories) {}

    void SampleNode(const model::NodeStep& step) override;
    bool MeshBounds(int32_t bone_index, host::Box3& box) const override;
    scene::StepResult WriteMesh(int32_t bone_index, const model::BoneRecord& bone) override;

private:
    bool ExtractsMesh(const model::NodeStep& step) const;

    const ExportState& state_;
    ModelState& model_;
    DirectoryFiles& directories_;
};

}  // namespace export_driver
