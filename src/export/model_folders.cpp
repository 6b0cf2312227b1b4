#include "export/model_folders.h"

#include "io/file_system.h"

namespace export_driver {

bool ModelFolders::Make(const std::string& path) {
    // The missing folders along the path, found before it is created.
    std::vector<std::string> missing;
    std::string folder = path;
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    while (!folder.empty() && folder.back() != ':' && !xIo::FileExists(folder)) {
        missing.push_back(folder);
        size_t cut = folder.find_last_of('/');
        if (cut == std::string::npos) break;
        folder.resize(cut);
    }
    bool made = xIo::MakeDirectories(path);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
        if (xIo::FileExists(*it)) created_.push_back(*it);
    return made;
}

void ModelFolders::RemoveEmptyCreated() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) xIo::RemoveEmptyDirectory(*it);
    created_.clear();
}

}  // namespace export_driver
