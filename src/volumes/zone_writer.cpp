#include "volumes/zone_writer.h"

namespace volumes {

void WriteZoneShape(const VolumeSettings& /*settings*/, host::Node& /*node*/, xIo::xSdl::eWriter& /*model_writer*/) {
    // Rectangles, circles and polygons of zones are written here once the
    // zone writer exists.
}

}  // namespace volumes
