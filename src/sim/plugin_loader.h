#pragma once
// Plug-in libraries loaded the way the host loads them at start-up: the file
// opened, its entry points found by name and its class descriptors listed.
#include <memory>
#include <string>
#include <vector>

#include "host/plugin.h"

namespace sim {

class PluginLibraryFile {
public:
    /// Loads the library at path (a local path; a bare file name is one in
    /// the working directory). Null, with a sentence saying why in error,
    /// when the file cannot be loaded, lacks one of the entry points
    /// LibDescription, LibNumberClasses, LibClassDesc and LibVersion, or
    /// describes no class.
    static std::unique_ptr<PluginLibraryFile> Load(const std::string& path, std::string& error);
    /// Unloads the library: every object created through its classes must be gone.
    ~PluginLibraryFile();
    PluginLibraryFile(const PluginLibraryFile&) = delete;
    PluginLibraryFile& operator=(const PluginLibraryFile&) = delete;

    const std::string& Path() const { return path_; }
    const host::PluginLibrary& Entries() const { return entries_; }
    /// The class descriptors for indexes 0 to LibNumberClasses − 1 (the
    /// library's null answers left out), owned by the library.
    const std::vector<host::ClassDesc*>& Classes() const { return classes_; }

private:
    PluginLibraryFile(std::string path, void* handle) : path_(std::move(path)), handle_(handle) {}

    std::string path_;
    void* handle_;
    host::PluginLibrary entries_;
    std::vector<host::ClassDesc*> classes_;
};

}  // namespace sim
