#pragma once
// An object in the scene: the base object a node refers to, or the result of
// evaluating a node (its object after modifiers) at a time.
#include <memory>

#include "host/light.h"
#include "host/math_box.h"
#include "host/reference.h"
#include "host/shape.h"
#include "host/trimesh.h"

namespace host {

class Node;

class Object : public ReferenceTarget {
public:
    /// True when the object can become a triangle mesh at t.
    virtual bool CanConvertToTriMesh(TimeValue t) const = 0;
    /// A new triangle mesh of the object at t, in object space, which the
    /// caller owns; null when the object cannot be converted.
    virtual std::unique_ptr<TriMesh> ConvertToTriMesh(TimeValue t) const = 0;
    /// The object-space bounding box at t (empty for an object without extent).
    virtual Box3 GetBoundingBox(TimeValue t) const = 0;

    /// Fills shape with the polylines of a shape object at t; false for
    /// objects that are not shapes.
    virtual bool MakePolyShape(TimeValue t, PolyShape& shape) const = 0;

    /// Fills state for a light object at t; false for other objects.
    virtual bool EvalLightState(TimeValue t, LightState& state) const = 0;
    /// Fills state for a camera object at t; false for other objects.
    virtual bool EvalCameraState(TimeValue t, CameraState& state) const = 0;
    /// A new light descriptor for node, which the caller owns; null for
    /// objects that are not lights.
    virtual std::unique_ptr<LightDesc> CreateLightDesc(Node* node) = 0;
};

}  // namespace host
