#pragma once
// The configuration file "QELEXPORT.CFG": the stored export options, binary,
// little-endian, in versions 1 to 6 (the writer writes 6).
#include <string>

#include "scene/export_options.h"

/// The name of the configuration file inside the plug-in configuration folder.
inline constexpr const char* kConfigFileName = "QELEXPORT.CFG";
/// The version the writer writes; newer files are ignored.
inline constexpr int32_t kConfigVersion = 6;
/// Bytes of one path field: a zero-terminated string.
inline constexpr int32_t kConfigPathSize = 1024;

/// Reads the file into options. False, with options unchanged, when the file
/// is missing or unreadable, newer than version 6, or shorter than its
/// version says (no field is taken from a truncated file).
bool LoadOptions(const std::string& path, ExportOptions& options);

/// Writes options as a version-6 file; a file that cannot be created is
/// skipped without a message (false).
bool SaveOptions(const std::string& path, const ExportOptions& options);

/// The bytes of the version-6 file of options.
std::string ConfigFileBytes(const ExportOptions& options);
/// Parses the bytes of a configuration file into options (see LoadOptions).
bool ParseConfigFile(const std::string& bytes, ExportOptions& options);
