#pragma once
// What the volume, zone and preview writers read of the export.
#include "host/application.h"
#include "host/math_matrix.h"
#include "host/node.h"
#include "scene/report.h"

namespace volumes {

struct VolumeSettings {
    host::Application& app;
    scene::Reporter& report;
    host::TimeValue staticTime = 0;  ///< the static frame in ticks
    float masterScale = 1.0f;        ///< metres per system unit
    host::Matrix3 axisFix;
    host::Node* modelRoot = nullptr; ///< the root of the model being written
};

}  // namespace volumes
