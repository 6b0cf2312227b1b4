#pragma once
// One export from start to end: options, model roots, every model's files,
// and the configuration saved at the end.
#include <functional>
#include <string>
#include <vector>

#include "export/options_dialog.h"
#include "host/application.h"
#include "scene/export_options.h"

namespace export_driver {

/// Runs the options dialog on a prepared model and returns its close code
/// (1 Export, 0 Cancel), or -1 when no dialog can be shown.
using DialogRunner = std::function<int(options_dialog::Model& dialog)>;

/// What became of each model of an export, in processing order.
struct ModelSummary {
    std::string rootName;  ///< code page 1251
    bool exported = false;
    bool cancelled = false;  ///< the artist cancelled while it was written: it was given up
    std::string skipReason;  ///< English, empty when exported
};

struct ExportSummary {
    bool dialogCancelled = false;
    bool cancelled = false;  ///< the artist cancelled during the export: models after it were not started
    std::vector<ModelSummary> models;
};

struct ExportSettings {
    bool suppressPrompts = false;
    bool exportSelected = false;   ///< the host's export-selected bit
    std::string configPath;        ///< empty: the host's plug-in configuration folder
    std::string toolsFolder;       ///< folder of the newest plug-in files (a host path)
    std::string installedFolder;   ///< folder of the loaded exporter module
    DialogRunner dialog;           ///< null: no dialog can be shown here
};

/// The configuration file inside the host's plug-in configuration folder.
std::string DefaultConfigPath(host::Application& app);

/// Runs one export with options as its starting options (kept between
/// exports by the plug-in object). Returns 1 in every case.
int RunExport(host::Application& app, ExportOptions& options, const ExportSettings& settings,
              ExportSummary* summary = nullptr);

}  // namespace export_driver
