#include "material_plugin.h"

#include <cstdlib>

#include "base/platform.h"

const char* MaterialPluginFileName() { return QEL_MATERIAL_PLUGIN_FILE; }

MaterialPluginLocation FindMaterialPlugin(const std::string& option) {
    if (!option.empty()) return {option, true};
    if (const char* named = std::getenv(kMaterialPluginVariable); named && *named) return {named, true};
    const std::string program = xPlatform::ExecutablePath();
    const size_t slash = program.find_last_of("/\\");
    if (slash == std::string::npos) return {MaterialPluginFileName(), false};
    return {program.substr(0, slash + 1) + MaterialPluginFileName(), false};
}
