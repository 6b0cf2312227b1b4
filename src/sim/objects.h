#pragma once
// The simulated host's objects: meshes and primitives (as triangle meshes
// with vertex animation), helpers and targets, shapes, lights and cameras.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/object.h"
#include "sim/mesh_data.h"
#include "sim/recorder.h"

namespace sim {

/// What the scene file said of an object where the host's answers do not
/// carry it (a primitive's size, a camera's field of view in degrees, a
/// look-at target), kept so that the scene can be written back.
struct ObjectSource {
    std::string type;  ///< the scene file's object type; "" for the helper of a node without object
    float length = 0, width = 0, height = 0, radius = 0;  ///< primitives, rectangle, circle
    int segments[3] = {1, 1, 1};  ///< box: along length, width and height; sphere: segments[0]
    int sides = 18;               ///< cylinder
    int points = 32;              ///< circle
    double fovDeg = 45;           ///< camera
    std::optional<std::string> target;  ///< lights and cameras: the node looked at (code page 1251)
    float rollDeg = 0;
};

/// Common ground: class identity, a label for records, render records.
class SimObject : public host::Object {
public:
    SimObject(host::SuperClassId super_class, host::ClassId class_id) : super_(super_class), class_(class_id) {}

    host::ClassId ClassID() const override { return class_; }
    host::SuperClassId SuperClassID() const override { return super_; }
    void OverrideClass(host::SuperClassId super_class, host::ClassId class_id) {
        super_ = super_class;
        class_ = class_id;
    }
    /// Where RenderBegin and RenderEnd are recorded, with label.
    void SetRecorder(Recorder* recorder, std::string label) {
        recorder_ = recorder;
        label_ = std::move(label);
    }

    void SetSource(ObjectSource source) { source_ = std::make_unique<ObjectSource>(std::move(source)); }
    /// The description set by SetSource; an empty one (type "") without it.
    const ObjectSource& Source() const;

    int RenderBegin(host::TimeValue t) override;
    int RenderEnd(host::TimeValue t) override;

    bool CanConvertToTriMesh(host::TimeValue) const override { return false; }
    std::unique_ptr<host::TriMesh> ConvertToTriMesh(host::TimeValue) const override { return nullptr; }
    host::Box3 GetBoundingBox(host::TimeValue) const override { return {}; }
    bool MakePolyShape(host::TimeValue, host::PolyShape&) const override { return false; }
    bool EvalLightState(host::TimeValue, host::LightState&) const override { return false; }
    bool EvalCameraState(host::TimeValue, host::CameraState&) const override { return false; }
    std::unique_ptr<host::LightDesc> CreateLightDesc(host::Node*) override { return nullptr; }

private:
    host::SuperClassId super_;
    host::ClassId class_;
    Recorder* recorder_ = nullptr;
    std::string label_;
    std::unique_ptr<const ObjectSource> source_;  // most nodes have none: their helper is implied
};

/// An editable mesh or a primitive: a mesh plus vertex-animation frames. The
/// triangle meshes it hands out share its data.
class MeshObject : public SimObject {
public:
    MeshObject(host::ClassId class_id, MeshData mesh)
        : SimObject(host::kGeomObjectClass, class_id), mesh_(std::make_shared<const MeshData>(std::move(mesh))) {}

    const MeshData& Mesh() const { return *mesh_; }
    const std::shared_ptr<const MeshData>& SharedMesh() const { return mesh_; }
    /// True when the mesh has vertex-animation frames.
    bool Animated() const { return !frames_.empty(); }
    /// Vertex positions at tick t (each list as long as the mesh's vertices).
    void AddFrame(host::TimeValue t, std::vector<host::Point3> positions) { frames_[t] = std::move(positions); }
    const std::map<host::TimeValue, std::vector<host::Point3>>& Frames() const { return frames_; }
    /// The vertex positions at t: interpolated between frames, the nearest
    /// outside them, the mesh's own without frames.
    std::vector<host::Point3> PositionsAt(host::TimeValue t) const;

    bool CanConvertToTriMesh(host::TimeValue) const override { return true; }
    std::unique_ptr<host::TriMesh> ConvertToTriMesh(host::TimeValue t) const override;
    host::Box3 GetBoundingBox(host::TimeValue t) const override;

private:
    std::shared_ptr<const MeshData> mesh_;
    std::map<host::TimeValue, std::vector<host::Point3>> frames_;
};

class ShapeObject : public SimObject {
public:
    ShapeObject(host::ClassId class_id, host::PolyShape shape)
        : SimObject(host::kShapeClass, class_id), shape_(std::move(shape)) {}
    bool MakePolyShape(host::TimeValue, host::PolyShape& shape) const override {
        shape = shape_;
        return true;
    }
    const host::PolyShape& Shape() const { return shape_; }
    host::Box3 GetBoundingBox(host::TimeValue) const override;

private:
    host::PolyShape shape_;
};

class LightObject : public SimObject {
public:
    /// state.tm is filled per evaluation from the node.
    LightObject(host::ClassId class_id, host::LightState state, Recorder* recorder)
        : SimObject(host::kLightClass, class_id), state_(state), recorder_(recorder) {}
    bool EvalLightState(host::TimeValue, host::LightState& state) const override {
        state = state_;
        return true;
    }
    std::unique_ptr<host::LightDesc> CreateLightDesc(host::Node* node) override;

private:
    host::LightState state_;
    Recorder* recorder_;
};

class CameraObject : public SimObject {
public:
    CameraObject(host::ClassId class_id, host::CameraState state)
        : SimObject(host::kCameraClass, class_id), state_(state) {}
    bool EvalCameraState(host::TimeValue, host::CameraState& state) const override {
        state = state_;
        return true;
    }

private:
    host::CameraState state_;
};

}  // namespace sim
