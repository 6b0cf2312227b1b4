#include "export/export_state.h"

namespace export_driver {

namespace {

host::Matrix3 AxisFix() {
    host::Matrix3 mirror;
    mirror.SetScale(host::Point3(1, -1, 1));
    return host::Inverse(mirror);
}

}  // namespace

ExportState::ExportState(host::Application& app, scene::Reporter& report, const ExportOptions& options,
                         bool export_selected)
    : app(app),
      report(report),
      options(options),
      exportSelected(export_selected),
      staticTime(options.staticFrame * app.GetTicksPerFrame()),
      masterScale(static_cast<float>(app.GetMasterScaleMeters())),
      axisFix(AxisFix()),
      boneTree(app, report, staticTime, options.exportLightsCameras != 0) {}

}  // namespace export_driver
