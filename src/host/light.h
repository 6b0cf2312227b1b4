#pragma once
// What a light or camera object reports at a time, and the render-time light
// descriptor a light creates for shading.
#include "host/math_color.h"
#include "host/math_matrix.h"
#include "host/time.h"

namespace host {

class Node;

enum class LightType { kOmni = 0, kSpot = 1, kDirectional = 2, kAmbient = 3 };

struct LightState {
    LightType type = LightType::kOmni;
    Color color{1.0f, 1.0f, 1.0f};
    float intensity = 1.0f;
    bool on = true;
    float hotsize = 0.0f;   ///< hotspot cone, degrees
    float fallsize = 0.0f;  ///< falloff cone, degrees
    bool useFarAtten = false;
    float farAttenEnd = 0.0f;  ///< system units
};

struct CameraState {
    float fov = 0.0f;  ///< horizontal field of view, radians
    bool isOrtho = false;
    float targetDistance = 0.0f;  ///< system units
};

/// A light's descriptor for shading: created by the light object for a node,
/// brought up to date before shading and owned by whoever created it.
class LightDesc {
public:
    virtual ~LightDesc() = default;
    /// Brings the descriptor to time t; returns 1 on success.
    virtual int Update(TimeValue t) = 0;
    /// Sets the transform from world space into the view the shading uses.
    virtual void UpdateViewDependent(const Matrix3& world_to_view) = 0;
    /// The node the descriptor was created for.
    virtual Node* GetNode() const = 0;
    /// The light's colour and position in world space at the last update.
    virtual Color GetColor() const = 0;
    virtual Point3 GetPosition() const = 0;
};

}  // namespace host
