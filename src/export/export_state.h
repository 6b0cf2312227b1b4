#pragma once
// The state of one export: the options it runs with, the times, scale and
// axis fix derived from them once, the artist's message boxes, and the bone
// tree with the model roots. Built when the options are known and fixed for
// the export, apart from the ambient light read before the first model and
// the bone tree that numbers each model.
#include <map>
#include <string>

#include "host/application.h"
#include "host/math_color.h"
#include "host/math_matrix.h"
#include "scene/bone_tree.h"
#include "scene/export_options.h"
#include "scene/report.h"

namespace export_driver {

struct ExportState {
    ExportState(host::Application& app, scene::Reporter& report, const ExportOptions& options, bool export_selected);

    host::Application& app;
    scene::Reporter& report;
    const ExportOptions options;
    const bool exportSelected;        ///< the host's export-selected bit
    const host::TimeValue staticTime; ///< the static frame in ticks; the bone tree judges bones there too
    const float masterScale;          ///< metres per system unit
    const host::Matrix3 axisFix;      ///< the mirror of the y axis, inverted
    host::Color ambient;              ///< the scene's ambient light at time 0
    host::Color ambientScaled;        ///< ambient × ambientPercent / 100
    scene::BoneTree boneTree;
    /// The resource directory of every model begun so far, with its root:
    /// two models never write the same files.
    std::map<std::string, host::Node*> modelDirectories;
};

}  // namespace export_driver
