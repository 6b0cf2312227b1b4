#pragma once
// The simulated host's scene node and Skin modifier.
#include <memory>
#include <string>
#include <vector>

#include "host/material.h"
#include "host/node.h"
#include "host/skin.h"
#include "sim/objects.h"
#include "sim/transform_track.h"
#include "sim/ui_services.h"

namespace sim {

class SimNode;

class SimSkin : public host::Skin {
public:
    using Weights = std::vector<std::vector<std::pair<int, float>>>;  ///< per vertex: (bone, weight)

    SimSkin(std::vector<SimNode*> bones, Weights weights, bool enabled, SimHold& hold)
        : bones_(std::move(bones)), weights_(std::move(weights)), enabled_(enabled), hold_(hold) {}

    bool IsEnabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;
    int NumBones() const override { return static_cast<int>(bones_.size()); }
    host::Node* GetBone(int i) const override;
    int NumVertices() const override { return static_cast<int>(weights_.size()); }
    int NumAssignedBones(int vertex) const override;
    int GetAssignedBone(int vertex, int k) const override;
    float GetBoneWeight(int vertex, int k) const override;

    /// The world positions of the bind-pose world positions moved by the
    /// weighted change of each bone's world transform from frame 0 to t.
    std::vector<host::Point3> Deform(const std::vector<host::Point3>& world_at_bind, host::TimeValue t) const;

private:
    std::vector<SimNode*> bones_;
    Weights weights_;
    bool enabled_;
    SimHold& hold_;
};

class SimNode : public host::Node {
public:
    SimNode(std::string name, SimNode* parent) : name_(std::move(name)), parent_(parent) {}

    // Set up by the loader.
    void SetName(std::string name) { name_ = std::move(name); }
    void AddChild(SimNode* child) { children_.push_back(child); }
    void SetFlags(bool hidden, bool renderable, bool selected) { hidden_ = hidden, renderable_ = renderable, selected_ = selected; }
    void SetGroup(bool head, bool member) { group_head_ = head, group_member_ = member; }
    void SetUserProps(std::string props) { props_ = std::move(props); }
    TransformTrack& Transform() { return transform_; }
    const TransformTrack& Transform() const { return transform_; }
    FloatTrack& Visibility() { return visibility_; }
    const FloatTrack& Visibility() const { return visibility_; }
    void SetObjectOffset(const host::Matrix3& offset) { offset_ = offset; }
    const host::Matrix3& ObjectOffset() const { return offset_; }
    void SetObject(SimObject* object) { object_ = object; }
    void SetMaterial(host::Material* material) { material_ = material; }
    void SetSkin(std::unique_ptr<SimSkin> skin) { skin_ = std::move(skin); }
    void SetJoint(const host::JointFlags& joint) { joint_ = joint; }
    /// A look-at target: the node faces it, then turns by roll_deg about the
    /// line of sight. Throws LoadError when the target's placement depends on
    /// this node (the node itself, its child, or a chain of parents and
    /// targets leading back to it), which no evaluation could resolve.
    void SetLookAt(SimNode* target, float roll_deg);

    host::ClassId ClassID() const override { return {1, 0}; }
    int NumRefs() const override { return 2 + NumberOfChildren(); }
    host::ReferenceTarget* GetReference(int i) const override;

    const std::string& GetName() const override { return name_; }
    host::Node* GetParentNode() const override { return parent_; }
    bool IsRootNode() const override { return parent_ == nullptr; }
    int NumberOfChildren() const override { return static_cast<int>(children_.size()); }
    host::Node* GetChildNode(int i) const override;

    bool IsNodeHidden() const override { return hidden_; }
    bool Renderable() const override { return renderable_; }
    bool Selected() const override { return selected_; }
    bool IsGroupHead() const override { return group_head_; }
    bool IsGroupMember() const override { return group_member_; }

    const std::string& GetUserPropBuffer() const override { return props_; }
    bool GetUserPropString(const std::string& key, std::string& value) const override;
    bool GetUserPropInt(const std::string& key, int& value) const override;

    host::Matrix3 GetNodeTM(host::TimeValue t) const override;
    host::Matrix3 GetObjectTM(host::TimeValue t) const override { return offset_ * GetNodeTM(t); }
    float GetVisibility(host::TimeValue t) const override { return visibility_.Eval(t); }

    host::Material* GetMtl() const override { return material_; }
    host::Object* GetObjectRef() const override { return object_; }
    host::Object* EvalWorldState(host::TimeValue t) override;

    int NumModifiers() const override { return skin_ ? 1 : 0; }
    host::ClassId GetModifierClassId(int i) const override { return skin_ && i == 0 ? host::kSkinClassId : host::ClassId(); }
    host::Skin* GetSkin() const override { return skin_.get(); }

    host::JointFlags GetJointFlags() const override { return joint_; }
    host::Node* GetTarget() const override { return target_; }

    void SetRenderData(std::unique_ptr<host::RenderData> data) override { render_data_ = std::move(data); }
    host::RenderData* GetRenderData() const override { return render_data_.get(); }

private:
    std::string name_;
    SimNode* parent_;
    std::vector<SimNode*> children_;
    bool hidden_ = false, renderable_ = true, selected_ = false;
    bool group_head_ = false, group_member_ = false;
    std::string props_;
    TransformTrack transform_;
    FloatTrack visibility_;
    host::Matrix3 offset_;
    SimObject* object_ = nullptr;
    host::Material* material_ = nullptr;
    std::unique_ptr<SimSkin> skin_;
    std::unique_ptr<SimObject> skinned_;  // the last evaluation through the skin
    host::JointFlags joint_;
    SimNode* target_ = nullptr;
    float roll_deg_ = 0.0f;
    std::unique_ptr<host::RenderData> render_data_;
};

}  // namespace sim
