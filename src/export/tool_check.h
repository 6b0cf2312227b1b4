#pragma once
// The check for newer plug-in files in the studio's shared tools folder. An
// outdated exporter only warns; an outdated material plug-in blocks the
// export, because the exporter reads that plug-in's materials.
#include <cstdint>
#include <functional>
#include <string>

namespace tool_check {

/// The shared tools folder, a host path.
inline constexpr const char* kDefaultToolsFolder = "T:\\TOOLS\\3DSMAX\\";
/// Environment variable that overrides the tools folder.
inline constexpr const char* kToolsFolderVariable = "QEL_TOOLS_DIR";

struct ToolFile {
    const char* name;
    bool blocksExport;  ///< outdated means the export is not possible
};
/// The files compared, in order.
inline constexpr ToolFile kToolFiles[] = {
    {"QelExport2010_Tavrin.dle", false},
    {"CorvaneMtl2010_Tavrin.dlt", true},
};

/// Last write time of a file as a 64-bit count (100 ns since 1601, as the
/// system's file times); 0 when it cannot be opened.
using FileTimeFn = std::function<uint64_t(const std::string& path)>;
/// The file time of a path through the path map; 0 for a missing file or a
/// path this machine has no folder for.
uint64_t LastWriteTime(const std::string& path);

/// True when later is a later time than earlier, comparing the high halves
/// as signed and then the low halves as unsigned numbers.
bool IsLater(uint64_t later, uint64_t earlier);

/// A message the check shows: code page 1251 text, caption, and whether it
/// is an error (else a warning).
struct Message {
    std::string text;
    std::string caption;
    bool isError;
};
using ShowFn = std::function<void(const Message&)>;

/// Compares every file of the table in installed_folder with its copy in
/// tools_folder, shows a message for each outdated one, and returns true
/// when the export may go on.
bool CheckToolVersions(const std::string& installed_folder, const std::string& tools_folder, const FileTimeFn& file_time,
                       const ShowFn& show);

/// The folder of the loaded exporter module, with its trailing separator.
std::string InstalledFolder();

}  // namespace tool_check
