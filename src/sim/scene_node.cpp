#include "sim/scene_node.h"

#include <cmath>
#include <unordered_set>

#include "base/cp1251.h"
#include "host/user_props.h"
#include "sim/load_error.h"

namespace sim {

void SimSkin::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    const bool before = enabled_;
    enabled_ = enabled;
    hold_.Put([this, before] { enabled_ = before; });
}

host::Node* SimSkin::GetBone(int i) const {
    return i >= 0 && size_t(i) < bones_.size() ? bones_[size_t(i)] : nullptr;
}

int SimSkin::NumAssignedBones(int vertex) const {
    return vertex >= 0 && size_t(vertex) < weights_.size() ? static_cast<int>(weights_[size_t(vertex)].size()) : 0;
}

int SimSkin::GetAssignedBone(int vertex, int k) const {
    if (k < 0 || k >= NumAssignedBones(vertex)) return -1;
    return weights_[size_t(vertex)][size_t(k)].first;
}

float SimSkin::GetBoneWeight(int vertex, int k) const {
    if (k < 0 || k >= NumAssignedBones(vertex)) return 0.0f;
    return weights_[size_t(vertex)][size_t(k)].second;
}

std::vector<host::Point3> SimSkin::Deform(const std::vector<host::Point3>& world_at_bind, host::TimeValue t) const {
    std::vector<host::Matrix3> change(bones_.size());
    for (size_t b = 0; b < bones_.size(); ++b) change[b] = host::Inverse(bones_[b]->GetNodeTM(0)) * bones_[b]->GetNodeTM(t);
    std::vector<host::Point3> moved = world_at_bind;
    for (size_t v = 0; v < moved.size() && v < weights_.size(); ++v) {
        const host::Point3 p = world_at_bind[v];
        for (const auto& [bone, weight] : weights_[v]) moved[v] += (p * change[size_t(bone)] - p) * weight;
    }
    return moved;
}

namespace {

// The object a skinned node evaluates to: its mesh moved by the skin at t,
// sharing the mesh's faces and channels.
class SkinnedObject : public SimObject {
public:
    SkinnedObject(const MeshObject& base, const SimSkin& skin, const SimNode& node, host::TimeValue t)
        : SimObject(base.SuperClassID(), base.ClassID()), mesh_(base.SharedMesh()), time_(t) {
        const host::Matrix3 bind = node.GetObjectTM(0);
        std::vector<host::Point3> world = base.PositionsAt(0);
        for (host::Point3& p : world) p = p * bind;
        world = skin.Deform(world, t);
        const host::Matrix3 back = host::Inverse(node.GetObjectTM(t));
        for (host::Point3& p : world) p = p * back;
        positions_ = std::move(world);
    }
    host::TimeValue Time() const { return time_; }
    bool CanConvertToTriMesh(host::TimeValue) const override { return true; }
    std::unique_ptr<host::TriMesh> ConvertToTriMesh(host::TimeValue) const override { return MakeTriMesh(mesh_, positions_); }
    host::Box3 GetBoundingBox(host::TimeValue) const override {
        host::Box3 box;
        box.IncludePoints(positions_.data(), positions_.size());
        return box;
    }

private:
    std::shared_ptr<const MeshData> mesh_;
    std::vector<host::Point3> positions_;
    host::TimeValue time_;
};

}  // namespace

host::ReferenceTarget* SimNode::GetReference(int i) const {
    if (i == 0) return object_;
    if (i == 1) return material_;
    return GetChildNode(i - 2);
}

host::Node* SimNode::GetChildNode(int i) const {
    return i >= 0 && size_t(i) < children_.size() ? children_[size_t(i)] : nullptr;
}

bool SimNode::GetUserPropString(const std::string& key, std::string& value) const {
    return host::FindUserPropString(props_, key, value);
}

bool SimNode::GetUserPropInt(const std::string& key, int& value) const {
    return host::FindUserPropInt(props_, key, value);
}

void SimNode::SetLookAt(SimNode* target, float roll_deg) {
    // A node's placement depends on its parent's and its target's; a chain
    // of them leading back to this node would make GetNodeTM recurse forever.
    std::vector<const SimNode*> pending{target};
    std::unordered_set<const SimNode*> seen;  // only asked for membership
    while (!pending.empty()) {
        const SimNode* node = pending.back();
        pending.pop_back();
        if (node == nullptr || !seen.insert(node).second) continue;
        if (node == this)
            throw LoadError("", "\"" + Cp1251ToUtf8(name_) + "\" cannot look at \"" + Cp1251ToUtf8(target->name_) +
                                    "\": its placement depends on \"" + Cp1251ToUtf8(name_) +
                                    "\" through parents and look-at targets (a cycle)");
        pending.push_back(node->parent_);
        pending.push_back(node->target_);
    }
    target_ = target;
    roll_deg_ = roll_deg;
}

host::Matrix3 SimNode::GetNodeTM(host::TimeValue t) const {
    const host::Matrix3 parent = parent_ ? parent_->GetNodeTM(t) : host::Matrix3();
    const host::Matrix3 world = transform_.Eval(t) * parent;
    if (!target_) return world;
    // Look-at: −z toward the target, x horizontal (y leaning up); a vertical
    // line of sight keeps y along the world y axis. Then the roll about it.
    const host::Point3 position = world.GetTrans();
    const host::Point3 sight = target_->GetNodeTM(t).GetTrans() - position;
    if (sight.Length() == 0.0f) return host::Matrix3::Translation(position);
    const host::Point3 z = host::Normalize(-sight);
    host::Point3 x = host::CrossProd({0, 0, 1}, z);
    host::Point3 y;
    if (x.Length() < 1e-6f) {
        x = host::Normalize(host::CrossProd({0, 1, 0}, z));
        y = host::CrossProd(z, x);
    } else {
        x = host::Normalize(x);
        y = host::CrossProd(z, x);
    }
    const host::Matrix3 aim(x, y, z, position);
    const float roll = roll_deg_ * 3.14159265358979f / 180.0f;
    return host::Matrix3::RotateZ(roll) * aim;
}

host::Object* SimNode::EvalWorldState(host::TimeValue t) {
    const auto* mesh = dynamic_cast<const MeshObject*>(object_);
    if (!skin_ || !skin_->IsEnabled() || !mesh) return object_;
    // Transforms never change while a scene is loaded, so one evaluation
    // serves every later one at the same time.
    auto* last = static_cast<SkinnedObject*>(skinned_.get());
    if (last == nullptr || last->Time() != t) skinned_ = std::make_unique<SkinnedObject>(*mesh, *skin_, *this, t);
    return skinned_.get();
}

}  // namespace sim
