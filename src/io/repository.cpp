#include "io/repository.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <deque>
#include <map>
#include <set>

#include "base/debug.h"
#include "base/format.h"
#include "io/file_system.h"
#include "io/name.h"
#include "io/path_map.h"
#include "io/storage_file.h"
#include "io/storage_zip.h"

namespace xIo::xRepository {

namespace {
const char* const kSource = "io/repository";

struct Hook {
    int id;
    OpenHook hook;
};

struct Table {
    std::map<std::string, std::vector<eStorage*>> mounts;  // mount point -> storages, first asked first
    std::vector<std::unique_ptr<eStorage>> storages;
    std::set<std::string> mountedPaths;
    std::vector<Hook> hooks;
    int nextHookId = 1;
    bool onDemand = false;
};

Table& TheTable() {
    static Table table;
    return table;
}

bool IsPak(const std::string& path) {
    std::string extension = GetPart(path, ePart::Extension);
    NormalizePath(extension);
    return extension == ".pak";
}

// The key under which a disk path counts as mounted: its real path, so that
// a link back up a directory tree cannot mount it twice.
std::string MountKey(const std::string& local) {
    char real[PATH_MAX];
    return realpath(local.c_str(), real) ? std::string(real) : local;
}

std::vector<std::string> SortedEntries(const std::string& local_directory) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(local_directory.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(dir);
    }
    // Mount order must not depend on the directory's own order: "models"
    // then comes before "models+".
    std::sort(names.begin(), names.end());
    return names;
}

std::string MountPoint(const std::string& mount_point) {
    std::string point = mount_point;
    NormalizePath(point);
    if (point.empty() || point[0] != '/') point = "/" + point;
    if (point.back() != '/') point += "/";
    return point;
}

struct PendingMount {
    std::string point;
    std::string diskPath;
    bool part;  // inside a multi-part directory: adds to the point, no warning
};

void MountOne(const PendingMount& pending, std::deque<PendingMount>& queue) {
    Table& table = TheTable();
    std::string local = LocalPath(pending.diskPath);
    struct stat st;
    bool directory = stat(local.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    if (!directory && !IsPak(pending.diskPath))
        xDebug::Error(kSource, __LINE__, format("%1%: nothing to mount") % pending.diskPath);
    std::string key = MountKey(local);
    if (table.mountedPaths.count(key)) return;

    std::string point = MountPoint(pending.point);
    bool part = pending.part;
    if (point.size() >= 2 && point[point.size() - 2] == '+') {
        point.erase(point.size() - 2, 1);
        if (!part && table.mounts[point].empty())
            xDebug::Warning(kSource, __LINE__,
                            format("Using multi-part before 1st resource mount - '%1%'. Content loss is possible.") %
                                pending.point);
        part = true;
    }

    std::unique_ptr<eStorage> storage;
    if (directory) storage = std::make_unique<eFileStorage>(pending.diskPath);
    else storage = std::make_unique<eZipStorage>(pending.diskPath);
    table.mountedPaths.insert(key);
    std::vector<eStorage*>& at_point = table.mounts[point];
    if (part) at_point.push_back(storage.get());
    else at_point.insert(at_point.begin(), storage.get());
    table.storages.push_back(std::move(storage));

    if (!directory) return;
    for (const std::string& name : SortedEntries(local)) {
        std::string child = pending.diskPath + "/" + name;
        struct stat child_st;
        if (stat(LocalPath(child).c_str(), &child_st) != 0) continue;
        std::string lower = name;
        NormalizePath(lower);
        if (S_ISDIR(child_st.st_mode)) queue.push_back({point + lower + "/", child, part});
        else if (S_ISREG(child_st.st_mode) && IsPak(lower))
            queue.push_back({point + GetPart(lower, ePart::Stem) + "/", child, part});
    }
}
}  // namespace

void Mount(const std::string& mount_point, const std::string& disk_path) {
    std::string path = disk_path;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    // Breadth first and without recursion, so no directory depth can
    // exhaust the stack.
    std::deque<PendingMount> queue{{mount_point, path, false}};
    while (!queue.empty()) {
        PendingMount pending = std::move(queue.front());
        queue.pop_front();
        MountOne(pending, queue);
    }
}

void UnmountAll() {
    Table& table = TheTable();
    table.mounts.clear();
    table.storages.clear();
    table.mountedPaths.clear();
    table.hooks.clear();
}

std::vector<std::string> DescribeMounts() {
    std::vector<std::string> lines;
    for (const auto& [point, storages] : TheTable().mounts) {
        std::string line = point + " ->";
        for (size_t i = 0; i < storages.size(); ++i) line += (i ? ", " : " ") + storages[i]->Name();
        lines.push_back(line);
    }
    return lines;
}

bool Locate(const std::string& resource_path, uint32_t mode, eLocation& out) {
    const Table& table = TheTable();
    eStorage* writable = nullptr;
    std::string writable_relative;
    for (size_t end = resource_path.rfind('/'); end != std::string::npos;
         end = end == 0 ? std::string::npos : resource_path.rfind('/', end - 1)) {
        std::string point = resource_path.substr(0, end + 1);
        auto found = table.mounts.find(point);
        if (found == table.mounts.end()) continue;
        std::string relative = resource_path.substr(end + 1);
        for (eStorage* storage : found->second) {
            if (storage->Exists(relative)) {
                out = {storage, relative};
                return true;
            }
            if (!writable && dynamic_cast<eFileStorage*>(storage)) {
                writable = storage;
                writable_relative = relative;
            }
        }
    }
    if ((mode & (kModeWrite | kModeTruncate)) && writable) {
        out = {writable, writable_relative};
        return true;
    }
    return false;
}

bool Exists(const std::string& name) {
    eLocation location;
    return Locate(ResolveName(name), kModeRead, location);
}

std::unique_ptr<eStream> Open(const std::string& name, uint32_t mode) {
    Table& table = TheTable();
    std::string path = ResolveName(name);
    if (table.onDemand) {
        std::string directory = GetPart(path, ePart::Directory);
        struct stat st;
        if (stat(LocalPath(directory).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) Mount(directory, directory);
    }
    for (auto it = table.hooks.rbegin(); it != table.hooks.rend(); ++it)
        if (std::unique_ptr<eStream> stream = it->hook(path, mode)) return stream;
    eLocation location;
    std::unique_ptr<eStream> stream;
    if (Locate(path, mode, location)) stream = location.storage->Open(location.relative, mode);
    if (!stream) xDebug::Error(kSource, __LINE__, format("File not found - %1%") % name);
    return stream;
}

int AddOpenHook(OpenHook hook) {
    Table& table = TheTable();
    table.hooks.push_back({table.nextHookId, std::move(hook)});
    return table.nextHookId++;
}

void RemoveOpenHook(int id) {
    std::vector<Hook>& hooks = TheTable().hooks;
    hooks.erase(std::remove_if(hooks.begin(), hooks.end(), [id](const Hook& h) { return h.id == id; }), hooks.end());
}

void SetOnDemandMounting(bool on) { TheTable().onDemand = on; }

void ClearFileCache() {
    for (const std::unique_ptr<eStorage>& storage : TheTable().storages)
        if (auto* zip = dynamic_cast<eZipStorage*>(storage.get())) zip->ClearCache();
}

}  // namespace xIo::xRepository
