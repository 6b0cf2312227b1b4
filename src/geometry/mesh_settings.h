#pragma once
// What mesh extraction and the mesh writer read of the export.
#include "host/application.h"
#include "scene/report.h"

namespace geometry {

struct MeshSettings {
    host::Application& app;
    scene::Reporter& report;
    host::TimeValue staticTime = 0;  ///< the static frame in ticks
    float masterScale = 1.0f;        ///< metres per system unit
};

}  // namespace geometry
