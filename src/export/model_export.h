#pragma once
// One model of an export: its directory, its three writers with their header
// lines and section frames, the bone walk, and the sections that follow it.
#include <cstddef>
#include <string>

#include "export/directory_files.h"
#include "export/export_state.h"
#include "scene/step_result.h"

namespace model_export {

/// Exports state.boneTree.models[index]. Done when the model was written
/// (also when the walk stopped at a hierarchy it cannot write: the rest of
/// the model is finished); Skipped, with the reason, when the model was left
/// out (the artist was told); Cancelled when the artist cancelled while its
/// bones were written. A cancelled model, and one that fails in the core
/// library (which leaves as xDebug::eEx_Custom), is given up: its writers are
/// discarded, so none of its files replaces a previous one, and the folders
/// it created are removed while they are empty.
scene::StepResult ExportModel(export_driver::ExportState& state, export_driver::DirectoryFiles& directories,
                              size_t index);

/// The local time in the header form "Wed Jan 02 02:03:55 1980".
std::string HeaderTime(long long seconds_since_epoch);

}  // namespace model_export
