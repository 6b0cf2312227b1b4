#include "sim/objects.h"

#include "host/node.h"

namespace sim {

const ObjectSource& SimObject::Source() const {
    static const ObjectSource kNone;
    return source_ ? *source_ : kNone;
}

int SimObject::RenderBegin(host::TimeValue t) {
    if (recorder_) recorder_->render.push_back({this, label_, true, t});
    return 1;
}

int SimObject::RenderEnd(host::TimeValue t) {
    if (recorder_) recorder_->render.push_back({this, label_, false, t});
    return 1;
}

std::vector<host::Point3> MeshObject::PositionsAt(host::TimeValue t) const {
    if (frames_.empty()) return mesh_->verts;
    const auto after = frames_.lower_bound(t);
    if (after == frames_.begin()) return after->second;
    if (after == frames_.end()) return std::prev(after)->second;
    if (after->first == t) return after->second;
    const auto before = std::prev(after);
    const float s = float(t - before->first) / float(after->first - before->first);
    std::vector<host::Point3> positions(before->second.size());
    for (size_t i = 0; i < positions.size(); ++i)
        positions[i] = before->second[i] + (after->second[i] - before->second[i]) * s;
    return positions;
}

std::unique_ptr<host::TriMesh> MeshObject::ConvertToTriMesh(host::TimeValue t) const {
    if (frames_.empty()) return MakeTriMesh(mesh_);
    return MakeTriMesh(mesh_, PositionsAt(t));
}

host::Box3 MeshObject::GetBoundingBox(host::TimeValue t) const {
    host::Box3 box;
    if (frames_.empty()) {
        box.IncludePoints(mesh_->verts.data(), mesh_->verts.size());
        return box;
    }
    const std::vector<host::Point3> positions = PositionsAt(t);
    box.IncludePoints(positions.data(), positions.size());
    return box;
}

host::Box3 ShapeObject::GetBoundingBox(host::TimeValue) const {
    host::Box3 box;
    for (const host::Polyline& line : shape_.lines) box.IncludePoints(line.points.data(), line.points.size());
    return box;
}

namespace {

class SimLightDesc : public host::LightDesc {
public:
    SimLightDesc(host::Node* node, host::Color color, Recorder* recorder)
        : node_(node), color_(color), recorder_(recorder) {}
    int Update(host::TimeValue t) override {
        position_ = node_->GetNodeTM(t).GetTrans();
        if (recorder_) recorder_->lightDescUpdates.push_back(node_->GetName());
        return 1;
    }
    void UpdateViewDependent(const host::Matrix3& world_to_view) override { view_ = world_to_view; }
    host::Node* GetNode() const override { return node_; }
    host::Color GetColor() const override { return color_; }
    host::Point3 GetPosition() const override { return position_; }

private:
    host::Node* node_;
    host::Color color_;
    Recorder* recorder_;
    host::Point3 position_;
    host::Matrix3 view_;
};

}  // namespace

std::unique_ptr<host::LightDesc> LightObject::CreateLightDesc(host::Node* node) {
    if (!node) return nullptr;
    return std::make_unique<SimLightDesc>(node, state_.color, recorder_);
}

}  // namespace sim
