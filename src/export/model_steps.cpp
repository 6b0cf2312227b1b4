#include "export/model_steps.h"

#include "animation/animation_sampler.h"
#include "export/subsystem_settings.h"
#include "geometry/mesh_extraction.h"
#include "geometry/mesh_writer.h"
#include "host/class_id.h"
#include "host/object.h"
#include "scene/bone_tree.h"
#include "scene/node_params.h"

namespace export_driver {

void ModelSteps::SampleNode(const model::NodeStep& step) {
    host::Object* object = step.node.EvalWorldState(0);
    if (object != nullptr && object->ClassID() == host::kTargetClassId) return;

    if (state_.options.exportMesh)
        geometry::ExtractNodeFrames(MeshSettingsOf(state_), model_.meshes, step.node, step.boneIndex);

    // Transforms are sampled for the bones themselves: not for LOD bones, and
    // not for group members other than group heads.
    bool samples_transform = scene::LodIndex(step.node) == 0 && (!step.node.IsGroupMember() || step.node.IsGroupHead());
    // A node samples into its own bone, even when its mesh joins another
    // bone's record (a named common-mesh owner).
    if (state_.options.exportAnimation && samples_transform)
        animation::SampleNodeAnimation(AnimationSettingsOf(state_), model_.animation, step.node,
                                       scene::AttachedBoneIndex(step.node), model_.animListWriter);
}

bool ModelSteps::MeshBounds(int32_t bone_index, host::Box3& box) const {
    return geometry::MeshBounds(model_.meshes, bone_index, box);
}

scene::StepResult ModelSteps::WriteMesh(int32_t bone_index, const model::BoneRecord& bone) {
    if (!state_.options.exportMesh) return scene::StepResult::Done();
    DirectoryCollector& collector = directories_.ForMesh(bone.sharedMesh);
    return geometry::WriteBoneMesh(MeshSettingsOf(state_), model_.meshes, bone_index, bone.meshName, collector.meshes,
                                   model_.modelWriter);
}

}  // namespace export_driver
