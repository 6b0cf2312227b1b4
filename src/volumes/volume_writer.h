#pragma once
// Collision volumes: the shape, bone and placement of a volume in the model
// description, its gameplay tags in the entity file.
#include "host/node.h"
#include "io/sdl_writer.h"
#include "volumes/volume_settings.h"

namespace volumes {

/// Writes one volume into both writers, whose "volumes" blocks are open:
/// the entity file gets its tags, the model description its shape, bone
/// and placement. A node that cannot become a triangle mesh is reported and
/// gets empty blocks; a concave polyhedron, a scaled or sheared placement
/// and a mirrored node are reported and written.
void WriteVolume(const VolumeSettings& settings, host::Node& node, xIo::xSdl::eWriter& model_writer,
                 xIo::xSdl::eWriter& entity_writer);

}  // namespace volumes
