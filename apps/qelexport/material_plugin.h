#pragma once
// Where qelexport finds the material plug-in library that creates CorvaneMtl
// materials, as the host finds its plug-ins at start-up.
#include <string>

/// The environment variable that names the library.
inline constexpr const char* kMaterialPluginVariable = "QEL_MATERIAL_PLUGIN";

struct MaterialPluginLocation {
    std::string path;
    /// True when the option or the environment variable named the file: it
    /// must load. The library next to the program is used when it loads.
    bool asked = false;
};

/// The file named by option (--material-plugin) when it is not empty, else
/// by the environment variable, else the library next to this program.
MaterialPluginLocation FindMaterialPlugin(const std::string& option);

/// The library's file name as the build names it.
const char* MaterialPluginFileName();
