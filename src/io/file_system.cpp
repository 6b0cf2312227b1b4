#include "io/file_system.h"

#include "base/platform.h"
#include "io/path_map.h"
#include "io/platform_file.h"

namespace xIo {

void NormalizePath(std::string& path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

bool FileExists(const std::string& path, int mode) {
    std::string local;
    return TryLocalPath(path, local) && xOs::Accessible(local, mode);
}

bool MakeDirectories(const std::string& path) {
    if (path.empty()) return true;
    std::string local = LocalPath(path);
    if (xOs::IsDirectory(local)) return true;
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
        int error = xOs::MakeDirectory(local.substr(0, i));
        if (error != 0 && !xOs::IsAlreadyExists(error)) return false;
    }
    return xOs::IsDirectory(local);
}

uint64_t FileWriteTime(const std::string& path) {
    std::string local;
    return TryLocalPath(path, local) ? xPlatform::FileWriteTime(local) : 0;
}

bool SetFileWriteTimeNow(const std::string& path) {
    std::string local;
    return TryLocalPath(path, local) && xPlatform::SetFileWriteTimeNow(local);
}

bool RemoveFile(const std::string& path) { return xOs::RemoveFile(LocalPath(path)) == 0; }

namespace {
// A link is removed itself, never what it points at.
bool RemoveLocal(const std::string& local) {
    xOs::FileInfo info;
    if (xOs::Lookup(local, info) != 0 || info.kind == xOs::Kind::kMissing) return false;
    if (info.kind != xOs::Kind::kDirectory) return xOs::RemoveFile(local) == 0;
    bool ok = true;
    std::vector<std::string> names;
    xOs::ListDirectory(local, names);
    for (const std::string& name : names) ok = RemoveLocal(local + "/" + name) && ok;
    return xOs::RemoveDirectory(local) == 0 && ok;
}
}  // namespace

bool RemovePath(const std::string& path) { return RemoveLocal(LocalPath(path)); }

bool RemoveEmptyDirectory(const std::string& path) {
    std::string local;
    return TryLocalPath(path, local) && xOs::RemoveDirectory(local) == 0;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
    std::string local_from = LocalPath(from);
    if (!xOs::Accessible(local_from, 0)) return false;
    return xOs::Replace(local_from, LocalPath(to)) == 0;
}

}  // namespace xIo
