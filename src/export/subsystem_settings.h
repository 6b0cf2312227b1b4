#pragma once
// The few values of the export each subsystem reads, taken from the state of
// the export, so that no subsystem sees the whole of it.
#include "animation/model_animation.h"
#include "export/export_state.h"
#include "geometry/mesh_settings.h"
#include "materials/material_writer.h"
#include "model/bone_walk.h"
#include "volumes/volume_settings.h"

namespace export_driver {

model::WalkSettings WalkSettingsOf(const ExportState& state);
geometry::MeshSettings MeshSettingsOf(const ExportState& state);
materials::MaterialSettings MaterialSettingsOf(const ExportState& state);
animation::AnimationSettings AnimationSettingsOf(const ExportState& state);
/// model_root: the root of the model being written.
volumes::VolumeSettings VolumeSettingsOf(const ExportState& state, host::Node& model_root);

}  // namespace export_driver
