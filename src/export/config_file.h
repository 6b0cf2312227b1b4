#pragma once
// The configuration file "QELEXPORT.CFG": the stored export options, binary,
// little-endian, in versions 1 to 6 (the writer writes 6).
#include <string>

#include "scene/export_options.h"
#include "scene/step_result.h"

/// The name of the configuration file inside the plug-in configuration folder.
inline constexpr const char* kConfigFileName = "QELEXPORT.CFG";
/// The version the writer writes; newer files are ignored.
inline constexpr int32_t kConfigVersion = 6;
/// Bytes of one path field: a zero-terminated string.
inline constexpr int32_t kConfigPathSize = 1024;

/// Reads the file into options. Done when it was read; Skipped when there is
/// no such file; Failed, with the reason, when it cannot be read or is not a
/// configuration file (newer than version 6, or shorter than its version
/// says). Options are unchanged unless it is Done: no field is taken from a
/// file that failed. Never raises.
scene::StepResult LoadOptions(const std::string& path, ExportOptions& options);

/// Writes options as a version-6 file. Done when written; Failed, with the
/// reason, when the file cannot be created or written (the previous file
/// stays as it was). Never raises.
scene::StepResult SaveOptions(const std::string& path, const ExportOptions& options);

/// The bytes of the version-6 file of options.
std::string ConfigFileBytes(const ExportOptions& options);
/// Parses the bytes of a configuration file into options (see LoadOptions).
bool ParseConfigFile(const std::string& bytes, ExportOptions& options);
