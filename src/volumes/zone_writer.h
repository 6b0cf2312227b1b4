#pragma once
// Zones: the two-dimensional shape of an obstacle or area in the model's
// ground plan.
#include "host/node.h"
#include "io/sdl_writer.h"
#include "volumes/volume_settings.h"

namespace volumes {

/// Writes the shape of one zone into model_writer, or nothing: a sphere or
/// a circle spline as "circle2", a rectangle spline and any other mesh as
/// "obb2" (a mesh's by the smallest-rectangle search), a spline of one
/// polyline as "polygon2" turning counter-clockwise as drawn. A mesh zone's
/// shape is followed by "rotate". A spline of several polylines is reported
/// and writes nothing; so do objects that are neither geometry nor shapes.
void WriteZoneShape(const VolumeSettings& settings, host::Node& node, xIo::xSdl::eWriter& model_writer);

}  // namespace volumes
