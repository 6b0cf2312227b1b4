#pragma once
// What animation keeps for one model, built fresh for each model: the
// declared animation ranges and the frame table of samples they share.
#include "host/application.h"
#include "scene/export_options.h"
#include "scene/report.h"

namespace animation {

/// What the animation code reads of the export.
struct AnimationSettings {
    host::Application& app;
    scene::Reporter& report;
    const ExportOptions& options;  ///< the frame and selection switches
    float masterScale = 1.0f;      ///< metres per system unit
};

struct ModelAnimation {
    // The animation list and the frame table arrive with animation ranges
    // and sampling.
};

}  // namespace animation
