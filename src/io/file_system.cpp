#include "io/file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "io/path_map.h"

namespace xIo {

void NormalizePath(std::string& path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

bool FileExists(const std::string& path, int mode) {
    std::string local;
    return TryLocalPath(path, local) && access(local.c_str(), mode) == 0;
}

bool MakeDirectories(const std::string& path) {
    if (path.empty()) return true;
    std::string local = LocalPath(path);
    struct stat st;
    if (stat(local.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    // Start after a leading slash, or on Windows after a drive colon and its slash.
    size_t start = 0;
#ifdef _WIN32
    if (local.size() >= 2 && local[1] == ':') start = local.size() > 2 && local[2] == '/' ? 3 : 2;
    else
#endif
    if (local[0] == '/') start = 1;
    for (size_t i = start; i <= local.size(); ++i) {
        if (i < local.size() && local[i] != '/') continue;
        if (i == start || local[i - 1] == '/') continue;  // empty component
        std::string prefix = local.substr(0, i);
        if (mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    return stat(local.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& path) { return unlink(LocalPath(path).c_str()) == 0; }

namespace {
bool RemoveLocal(const std::string& local) {
    struct stat st;
    if (lstat(local.c_str(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode)) return unlink(local.c_str()) == 0;
    bool ok = true;
    if (DIR* dir = opendir(local.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            ok = RemoveLocal(local + "/" + name) && ok;
        }
        closedir(dir);
    }
    return rmdir(local.c_str()) == 0 && ok;
}
}  // namespace

bool RemovePath(const std::string& path) { return RemoveLocal(LocalPath(path)); }

bool RemoveEmptyDirectory(const std::string& path) {
    std::string local;
    return TryLocalPath(path, local) && rmdir(local.c_str()) == 0;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
    std::string local_from = LocalPath(from);
    if (access(local_from.c_str(), F_OK) != 0) return false;
    return std::rename(local_from.c_str(), LocalPath(to).c_str()) == 0;
}

}  // namespace xIo
