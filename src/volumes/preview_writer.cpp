#include "volumes/preview_writer.h"

namespace volumes {

void WritePreview(const VolumeSettings& /*settings*/, const std::vector<host::Node*>& /*previews*/,
                  const host::Color& /*ambient*/, xIo::xSdl::eWriter& /*model_writer*/) {
    // Preview groups with their camera and lights are written here once the
    // preview writer exists.
}

}  // namespace volumes
