#include "sim/plugin_loader.h"

#include "base/platform.h"

namespace sim {

namespace {

// More classes than any library describes: a larger count is a broken answer.
constexpr int kMaxClasses = 1000;

template <class Fn>
bool Find(void* handle, const char* name, Fn*& entry, std::string& missing) {
    entry = reinterpret_cast<Fn*>(xPlatform::FindSharedLibrarySymbol(handle, name));
    if (entry == nullptr && missing.empty()) missing = name;
    return entry != nullptr;
}

}  // namespace

std::unique_ptr<PluginLibraryFile> PluginLibraryFile::Load(const std::string& path, std::string& error) {
    std::string reason;
    void* handle = xPlatform::LoadSharedLibrary(path, reason);
    if (handle == nullptr) {
        error = "cannot load the plug-in library " + path + ": " + reason;
        return nullptr;
    }
    std::unique_ptr<PluginLibraryFile> library(new PluginLibraryFile(path, handle));
    host::PluginLibrary& entries = library->entries_;
    std::string missing;
    Find(handle, "LibDescription", entries.description, missing);
    Find(handle, "LibNumberClasses", entries.numberClasses, missing);
    Find(handle, "LibClassDesc", entries.classDesc, missing);
    Find(handle, "LibVersion", entries.version, missing);
    if (!missing.empty()) {
        error = path + " is not a plug-in library: it has no entry point " + missing;
        return nullptr;
    }
    const int count = entries.numberClasses();
    if (count < 1 || count > kMaxClasses) {
        error = "the plug-in library " + path + " describes " + std::to_string(count) + " classes";
        return nullptr;
    }
    for (int i = 0; i < count; ++i)
        if (host::ClassDesc* desc = entries.classDesc(i)) library->classes_.push_back(desc);
    if (library->classes_.empty()) {
        error = "the plug-in library " + path + " gives no class descriptor";
        return nullptr;
    }
    return library;
}

PluginLibraryFile::~PluginLibraryFile() { xPlatform::FreeSharedLibrary(handle_); }

}  // namespace sim
