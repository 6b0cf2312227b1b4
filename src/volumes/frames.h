#pragma once
// The frames volumes, zones and previews are written in, and the block of
// a point in them.
#include "host/math_matrix.h"
#include "host/node.h"
#include "io/sdl_writer.h"
#include "volumes/volume_settings.h"

namespace volumes {

/// World space into the model's frame at t: the inverse of the model root's
/// scale-free world transform, then the axis fix. Lengths stay in system
/// units.
host::Matrix3 WorldToModel(const VolumeSettings& settings, host::TimeValue t);

/// The node a volume hangs on: its parent, or the nearest ancestor outside
/// groups when the parent is a group member; null for the scene root.
host::Node* BoneParent(host::Node& node);

/// Writes the block {name x y z} of a point or vector in the model's frame,
/// each number rounded to 4 decimals and separated by a TAB.
void WriteTripleBlock(xIo::xSdl::eWriter& writer, const char* name, const host::Point3& p);

}  // namespace volumes
