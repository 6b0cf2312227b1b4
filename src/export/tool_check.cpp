#include "export/tool_check.h"

#include "base/format.h"
#include "base/platform.h"
#include "export/messages.h"
#include "io/path_map.h"
#include "scene/messages.h"

namespace tool_check {

uint64_t LastWriteTime(const std::string& path) {
    std::string local;
    if (!xIo::TryLocalPath(path, local)) return 0;
    return xPlatform::FileWriteTime(local);
}

bool IsLater(uint64_t later, uint64_t earlier) {
    int32_t later_high = static_cast<int32_t>(later >> 32);
    int32_t earlier_high = static_cast<int32_t>(earlier >> 32);
    if (later_high != earlier_high) return later_high > earlier_high;
    return static_cast<uint32_t>(later) > static_cast<uint32_t>(earlier);
}

bool CheckToolVersions(const std::string& installed_folder, const std::string& tools_folder, const FileTimeFn& file_time,
                       const ShowFn& show) {
    bool result = true;
    for (const ToolFile& file : kToolFiles) {
        uint64_t installed = file_time(installed_folder + file.name);
        uint64_t tools = file_time(tools_folder + file.name);
        if (!IsLater(tools, installed)) continue;
        if (file.blocksExport) {
            show({(format(scene::Message(export_messages::kMaterialOutdated)) % file.name).str(),
                  scene::Message(scene::msg::kCaptionError), true});
            result = false;
        } else {
            show({(format(scene::Message(export_messages::kExporterOutdated)) % file.name).str(),
                  scene::Message(scene::msg::kCaptionWarning), false});
        }
    }
    return result;
}

std::string InstalledFolder() {
    std::string path = xPlatform::ModulePath(reinterpret_cast<const void*>(&InstalledFolder));
    size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace tool_check
