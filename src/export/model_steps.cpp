#include "export/model_steps.h"

#include "animation/animation_sampler.h"
#include "animation/vertex_frames.h"
#include "export/subsystem_settings.h"
#include "geometry/mesh_extraction.h"
#include "geometry/mesh_writer.h"
#include "host/class_id.h"
#include "host/object.h"
#include "scene/bone_tree.h"
#include "scene/node_params.h"

namespace export_driver {

namespace {

// The node whose transform the model description writes for the record a
// node's mesh joins: the node's nearest ancestor outside groups, or the
// target bone its common-mesh owner names.
host::Node& BoneNodeOf(host::Application& app, const model::NodeStep& step) {
    host::Node* indexed = scene::NearestNonGroupMember(&step.node, true);
    if (indexed != nullptr && scene::AttachedBoneIndex(*indexed) == step.boneIndex) return *indexed;
    if (step.commonMeshOwner != nullptr) {
        std::optional<std::string> target = scene::Property(*step.commonMeshOwner, "CommonMesh");
        if (host::Node* bone = target ? app.GetNodeByName(*target) : nullptr;
            bone != nullptr && scene::AttachedBoneIndex(*bone) == step.boneIndex)
            return *bone;
    }
    return indexed != nullptr ? *indexed : step.node;
}

}  // namespace

// A node's mesh is extracted when its bone writes a polygon mesh that the
// node does not take from another node.
bool ModelSteps::ExtractsMesh(const model::NodeStep& step) const {
    const model::BoneRecord* record = model_.bones.Bone(step.boneIndex);
    return record != nullptr && record->ownsMesh && record->polyMesh &&
           (step.meshSource == nullptr || step.meshSource == &step.node);
}

void ModelSteps::SampleNode(const model::NodeStep& step) {
    host::Object* object = step.node.EvalWorldState(0);
    if (object != nullptr && object->ClassID() == host::kTargetClassId) return;

    if (state_.options.exportMesh && ExtractsMesh(step)) {
        host::Node& bone = BoneNodeOf(state_.app, step);
        bool joined = geometry::ExtractNodeFrames(MeshSettingsOf(state_), model_.meshes, step.node, bone, step.boneIndex);
        if (joined && state_.options.exportAnimation)
            animation::ExtractVertexFrames(AnimationSettingsOf(state_), model_.animation, MeshSettingsOf(state_),
                                           model_.meshes, step.node, bone, step.boneIndex);
    }

    // Transforms are sampled for the bones themselves: not for LOD bones, and
    // not for group members other than group heads.
    bool samples_transform = scene::LodIndex(step.node) == 0 && (!step.node.IsGroupMember() || step.node.IsGroupHead());
    // A node samples into its own bone index (a group member's is its nearest
    // ancestor's outside the group), even when its mesh joins another bone's
    // record (a named common-mesh owner).
    if (state_.options.exportAnimation && samples_transform) {
        host::Node* indexed = scene::NearestNonGroupMember(&step.node, true);
        int32_t bone_index = indexed != nullptr ? scene::AttachedBoneIndex(*indexed) : -1;
        animation::SampleNodeAnimation(AnimationSettingsOf(state_), model_.animation, step.node, bone_index,
                                       model_.animListWriter);
    }
}

bool ModelSteps::MeshBounds(int32_t bone_index, host::Box3& box) const {
    return geometry::MeshBounds(model_.meshes, bone_index, box);
}

scene::StepResult ModelSteps::WriteMesh(int32_t bone_index, const model::BoneRecord& bone) {
    if (!state_.options.exportMesh || bone.node == nullptr) return scene::StepResult::Done();
    DirectoryCollector& collector = directories_.ForMesh(bone.sharedMesh);
    // A common mesh's record is written by its owner and again by its bone.
    geometry::MeshTarget target{*bone.node, bone.meshName, directories_.TexturePrefix(), collector.meshes,
                                model_.modelWriter, !bone.hasCommonMesh};
    scene::StepResult written = geometry::WriteBoneMesh(MeshSettingsOf(state_), model_.meshes, bone_index, target);
    if (written.IsDone() && state_.options.exportAnimation)
        if (geometry::BoneMesh* mesh = model_.meshes.Bone(bone_index))
            animation::TakeVertexFrames(AnimationSettingsOf(state_), model_.animation, bone_index, *mesh);
    return written;
}

}  // namespace export_driver
