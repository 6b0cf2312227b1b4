#pragma once
// The camera of a preview group.
#include "host/math_matrix.h"
#include "host/node.h"
#include "host/object.h"
#include "io/sdl_writer.h"
#include "volumes/volume_settings.h"

namespace volumes {

/// Writes the content of a "camera" block for node, whose object at time 0
/// is camera: "origin", "lookat" (its target's position, or the origin
/// without a target), "fov" in degrees, and "horizon" when it is rolled.
void WriteCamera(const VolumeSettings& settings, host::Node& node, const host::Object& camera,
                 xIo::xSdl::eWriter& model_writer);

/// The roll of a camera whose transform is q, in radians: the angle from the
/// up direction an unrolled camera looking along the same line would have
/// (from the z axis, or the x axis when the line is vertical) to q's y axis,
/// positive for a right-handed turn about the direction of view (−z of q).
double CameraRoll(const host::Matrix3& q);

/// Rolls of this size or less, in radians, count as none.
inline constexpr double kRollTolerance = 0.00001;

}  // namespace volumes
