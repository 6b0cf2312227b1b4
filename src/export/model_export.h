#pragma once
// One model of an export: its directory, its three writers with their header
// lines and section frames, the bone walk, and the sections that follow it.
#include "scene/export_context.h"

namespace model_export {

/// Exports ctx.boneTree.models[index]. Core-library failures leave as
/// xDebug::eEx_Custom after the model's writers were discarded, so no file
/// of a failed model replaces a good one.
/// Returns "" when the model was written, else why it was skipped.
std::string ExportModel(scene::ExportContext& ctx, size_t index);

/// The local time in the header form "Wed Jan 02 02:03:55 1980".
std::string HeaderTime(long long seconds_since_epoch);

}  // namespace model_export
