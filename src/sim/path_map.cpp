#include "sim/path_map.h"

#include "base/cp1251.h"
#include "base/debug.h"
#include "base/format.h"
#include "io/path_map.h"

namespace sim {

namespace {

std::string Key(const std::string& path) {
    std::string key = path;
    for (char& c : key) {
        if (c == '\\') c = '/';
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return key;
}

bool HasDriveLetter(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
}

}  // namespace

void PathMap::Add(const std::string& prefix, const std::string& folder) {
    const std::string key = Key(prefix);
    for (Entry& entry : entries_) {
        if (entry.key == key) {
            entry.folder = folder;
            return;
        }
    }
    entries_.push_back({key, folder});
}

std::string PathMap::Map(const std::string& host_path) const {
    std::string local;
    if (!TryMap(host_path, local))
        xDebug::Error("sim/path_map", __LINE__,
                      format("No path map entry serves the host path \"%1%\"") % Cp1251ToUtf8(host_path));
    return local;
}

bool PathMap::Serves(const std::string& host_path) const {
    const std::string key = Key(host_path);
    for (const Entry& entry : entries_)
        if (key.compare(0, entry.key.size(), entry.key) == 0) return true;
    return false;
}

bool PathMap::TryMap(const std::string& host_path, std::string& local_path) const {
    const std::string key = Key(host_path);
    const Entry* best = nullptr;
    for (const Entry& entry : entries_)
        if (key.compare(0, entry.key.size(), entry.key) == 0 && (!best || entry.key.size() > best->key.size())) best = &entry;
    std::string rest = best ? host_path.substr(best->key.size()) : host_path;
    for (char& c : rest)
        if (c == '\\') c = '/';
    if (!best) {
        if (HasDriveLetter(host_path)) return false;
        local_path = Cp1251ToUtf8(rest);
        return true;
    }
    std::string local = best->folder;
    const bool folder_slash = !local.empty() && local.back() == '/';
    const bool rest_slash = !rest.empty() && rest.front() == '/';
    if (folder_slash && rest_slash) rest.erase(0, 1);
    else if (!folder_slash && !rest_slash && !rest.empty() && !local.empty()) local += '/';
    local_path = local + Cp1251ToUtf8(rest);
    return true;
}

void PathMap::Install() const {
    xIo::SetPathMapper([this](const std::string& path) -> std::optional<std::string> {
        std::string local;
        if (!TryMap(path, local)) return std::nullopt;
        return local;
    });
}

void PathMap::Uninstall() { xIo::SetPathMapper(nullptr); }

}  // namespace sim
