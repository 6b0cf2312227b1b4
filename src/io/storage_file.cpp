#include "io/storage_file.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include "io/file_system.h"
#include "io/name.h"
#include "io/path_map.h"
#include "io/stream_file.h"

namespace xIo::xRepository {

namespace {
bool LocalExists(const std::string& local) {
    struct stat st;
    return stat(local.c_str(), &st) == 0;
}

// The entry of directory whose name equals name without regard to case, or
// name itself when there is none.
std::string MatchCase(const std::string& directory, const std::string& name) {
    std::string found = name;
    if (DIR* dir = opendir(LocalPath(directory).c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (strcasecmp(entry->d_name, name.c_str()) == 0) {
                found = entry->d_name;
                break;
            }
        }
        closedir(dir);
    }
    return found;
}
}  // namespace

std::string eFileStorage::DiskPath(const std::string& relative_path) const {
    std::string exact = directory_ + "/" + relative_path;
    if (LocalExists(LocalPath(exact))) return exact;
    std::string path = directory_;
    size_t start = 0;
    while (start <= relative_path.size()) {
        size_t slash = relative_path.find('/', start);
        if (slash == std::string::npos) slash = relative_path.size();
        std::string component = relative_path.substr(start, slash - start);
        std::string match = MatchCase(path, component);
        path += '/';
        path += match;
        start = slash + 1;
    }
    return path;
}

bool eFileStorage::Exists(const std::string& relative_path) const {
    struct stat st;
    return stat(LocalPath(DiskPath(relative_path)).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::unique_ptr<eStream> eFileStorage::Open(const std::string& relative_path, uint32_t mode) {
    std::string path = DiskPath(relative_path);
    if (mode & (kModeWrite | kModeTruncate)) MakeDirectories(GetPart(path, ePart::Directory));
    auto stream = std::make_unique<eFileStream>();
    if (!stream->Open(path, mode, eFileStream::kOutputBufferSize)) return nullptr;
    return stream;
}

}  // namespace xIo::xRepository
