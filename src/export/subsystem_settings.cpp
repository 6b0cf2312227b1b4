#include "export/subsystem_settings.h"

namespace export_driver {

model::WalkSettings WalkSettingsOf(const ExportState& state) {
    return model::WalkSettings{state.app,        state.report,         state.staticTime,
                               state.masterScale, state.axisFix,        state.exportSelected,
                               state.options.exportIK != 0, state.options.exportGeometry != 0};
}

geometry::MeshSettings MeshSettingsOf(const ExportState& state) {
    return geometry::MeshSettings{state.app, state.report, state.staticTime, state.masterScale};
}

materials::MaterialSettings MaterialSettingsOf(const ExportState& state) {
    return materials::MaterialSettings{state.app, state.report, state.options.gameResourcePath,
                                       state.options.commonTextureSourcePath, state.options.commonTexturePathInGame};
}

animation::AnimationSettings AnimationSettingsOf(const ExportState& state) {
    return animation::AnimationSettings{state.app,
                                        state.report,
                                        state.masterScale,
                                        state.axisFix,
                                        state.options.reverseAnimation != 0,
                                        state.options.selectedOnly != 0,
                                        state.options.currentRangeOnly != 0};
}

volumes::VolumeSettings VolumeSettingsOf(const ExportState& state, host::Node& model_root) {
    return volumes::VolumeSettings{state.app,         state.report,  state.staticTime,
                                   state.masterScale, state.axisFix, &model_root};
}

}  // namespace export_driver
