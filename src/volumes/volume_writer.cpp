#include "volumes/volume_writer.h"

namespace volumes {

void WriteVolume(const VolumeSettings& /*settings*/, host::Node& /*node*/, xIo::xSdl::eWriter& /*model_writer*/,
                 xIo::xSdl::eWriter& /*entity_writer*/) {
    // Shapes, tags, bone and placement of a volume are written here once the
    // volume writer exists.
}

void WriteVolumeTags(host::Node& /*node*/, bool /*for_volume*/, xIo::xSdl::eWriter& /*target*/) {
    // The tag blocks are written here once the volume writer exists.
}

}  // namespace volumes
