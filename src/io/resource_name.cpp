#include "io/resource_name.h"

#include <cstdlib>
#include <fstream>

#include "base/debug.h"
#include "base/format.h"
#include "base/thread_storage.h"
#include "io/file_system.h"
#include "io/name.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace xIo::xRepository {

namespace {
const char* const kSource = "io/repository";

std::string& UserFolderName() {
    static std::string name;
    return name;
}

#ifdef _WIN32
std::string DocumentsFolder() {
    // Loaded by name so that the library does not import the shell.
    using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    char path[MAX_PATH] = {};
    if (HMODULE shell = LoadLibraryA("shell32.dll")) {
        if (auto get = reinterpret_cast<GetFolderPath>(GetProcAddress(shell, "SHGetFolderPathA")))
            get(nullptr, 0x8005 /* personal folder, created when missing */, nullptr, 0, path);
        FreeLibrary(shell);
    }
    return path;
}
#else
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// XDG_DOCUMENTS_DIR from the user-dirs file, with $HOME expanded.
std::string XdgDocuments(const std::string& home) {
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty()) config = home + "/.config";
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
        if (!value.empty() && value[0] == '/') return value;
    }
    return {};
}

std::string DocumentsFolder() {
    std::string home = Environment("HOME");
    std::string documents = XdgDocuments(home);
    return documents.empty() ? home + "/Documents" : documents;
}
#endif

[[noreturn]] void OutsideResources(const std::string& name) {
    xDebug::Error(kSource, __LINE__, format("%1%: Attempting to reach path outside resources") % name);
}

// Folds "." and ".." components and repeated slashes of a path that starts
// with a slash.
std::string Fold(const std::string& path, const std::string& name) {
    std::vector<std::string> parts;
    size_t start = 1;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        std::string part = path.substr(start, slash - start);
        if (part == "..") {
            if (parts.empty()) OutsideResources(name);
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    std::string folded;
    for (const std::string& part : parts) folded += "/" + part;
    std::string last = path.substr(path.rfind('/') + 1);
    bool directory = last.empty() || last == "." || last == "..";
    if (folded.empty() || directory) folded += "/";
    return folded;
}
}  // namespace

ePaths& ePaths::Current() {
    static eThreadStorage<ePaths> paths;
    return paths.Get();
}

ePathScope::ePathScope(const std::string& resource_path) {
    ePaths::Current().Push(GetPart(resource_path, ePart::Directory));
}

void SetUserFolderName(const std::string& name) { UserFolderName() = name; }

std::string UserFolder() {
    std::string folder = DocumentsFolder();
    NormalizePath(folder);
    if (folder.empty() || folder.back() != '/') folder += "/";
    if (!UserFolderName().empty()) folder += UserFolderName() + "/";
    return folder;
}

std::string ResolveName(const std::string& name) {
    std::string path = name;
    NormalizePath(path);
    if (!path.empty() && path[0] == '@') {
        if (path.size() < 2 || path[1] != '/')
            xDebug::Error(kSource, __LINE__, format("%1%: Wrong resource name syntax") % name);
        path = UserFolder() + path.substr(2);
        if (path[0] != '/') path = "/" + path;  // a drive letter: c:/...
    } else if (path.empty() || path[0] != '/') {
        std::string base = ePaths::Current().Top();
        NormalizePath(base);
        if (base.empty() || base[0] != '/') base = "/" + base;
        if (base.back() != '/') base += "/";
        size_t rest = 0;
        while (path.compare(rest, 3, "../") == 0) {
            if (base == "/") OutsideResources(name);
            base.erase(base.rfind('/', base.size() - 2) + 1);
            rest += 3;
        }
        path = base + path.substr(rest);
    }
    return Fold(path, name);
}

}  // namespace xIo::xRepository
