#pragma once
// The sections of a model description that follow its skeleton: support
// points, zones, the obsolete-body warning, volumes and the preview group.
#include "export/export_state.h"
#include "export/model_state.h"

namespace export_driver {

/// Writes the sections after the skeleton in their order.
void WriteModelSections(const ExportState& state, ModelState& model);

}  // namespace export_driver
