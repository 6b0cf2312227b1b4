#pragma once
// The shading context a caller supplies when it asks a material or texture
// for a colour at a point: where, with which coordinates, at which time.
#include "host/math_color.h"
#include "host/math_point.h"
#include "host/time.h"

namespace host {

class ShadeContext {
public:
    virtual ~ShadeContext() = default;
    virtual TimeValue CurTime() const = 0;
    /// The shaded point in world space.
    virtual Point3 P() const = 0;
    /// The unit surface normal in world space.
    virtual Point3 Normal() const = 0;
    /// The point in object space.
    virtual Point3 PObj() const = 0;
    /// Texture coordinates (u, v, w) of map channel; colour for channel 0.
    virtual Point3 UVW(int channel) const = 0;
};

/// What a material's Shade produces.
struct ShadeOutput {
    Color color;
    Color transparency;  ///< 0 opaque, 1 fully transparent, per channel
};

}  // namespace host
