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

/// The byte size of a configuration file of version (1 to 6); 0 for another.
int32_t ConfigFileSize(int32_t version);

/// What is found at a configuration path.
enum class ConfigFileState {
    kMissing,     ///< nothing: a new file may be written there
    kValid,       ///< a configuration file of a known version and its exact size
    kForeign,     ///< something else: it must be left as it is
    kUnreadable,  ///< it exists but cannot be read (the reason says why)
};
struct ConfigFileCheck {
    ConfigFileState state;
    std::string reason;  ///< the system's words for kUnreadable
};
/// Looks at what the configuration path holds, reading at most the size of
/// the largest version. Never raises.
ConfigFileCheck CheckConfigFile(const std::string& path);

/// Reads the file into options. Done when it was read; Skipped when there is
/// no such file; Failed, with the reason, when it cannot be read or is not a
/// configuration file (no known version, or not the size of its version).
/// Options are unchanged unless it is Done: no field is taken from a file
/// that failed. Reads at most the size of the largest version. Never raises.
scene::StepResult LoadOptions(const std::string& path, ExportOptions& options);

/// Writes options as a version-6 file. Done when written; Failed, with the
/// reason, when the file cannot be created or written (the previous file
/// stays as it was). Never raises.
scene::StepResult SaveOptions(const std::string& path, const ExportOptions& options);

/// The bytes of the version-6 file of options.
std::string ConfigFileBytes(const ExportOptions& options);
/// Parses the bytes of a configuration file into options: false, with
/// options unchanged, for bytes of no known version or not of its size.
bool ParseConfigFile(const std::string& bytes, ExportOptions& options);
