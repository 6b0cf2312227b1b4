#pragma once
// Collision volumes: the shape, bone and placement of a volume in the model
// description, its gameplay tags in the entity file.
#include "host/node.h"
#include "io/sdl_writer.h"
#include "volumes/volume_settings.h"

namespace volumes {

/// Writes one volume into both writers, whose "volumes" blocks are open.
void WriteVolume(const VolumeSettings& settings, host::Node& node, xIo::xSdl::eWriter& model_writer,
                 xIo::xSdl::eWriter& entity_writer);

/// Writes the tag blocks of a volume (for_volume) or of a zone into target.
void WriteVolumeTags(host::Node& node, bool for_volume, xIo::xSdl::eWriter& target);

}  // namespace volumes
