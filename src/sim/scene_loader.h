#pragma once
// Loads a scene file into a simulated host. A file with any error loads
// nothing: the loader throws LoadError naming the JSON pointer and reason.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/plugin.h"
#include "sim/load_error.h"
#include "sim/scene.h"

namespace sim {

struct LoadOptions {
    /// Plug-in classes the host can create (the material plug-in's descriptor).
    std::vector<host::ClassDesc*> plugins;
    /// Why the material plug-in is not among them, told when a scene needs it.
    std::string missingPluginReason;
    /// The folder that the scene's `paths` folders are relative to.
    std::string baseDir = ".";
};

/// The largest scene file read, in bytes.
constexpr size_t kMaxSceneFileSize = size_t(256) << 20;

/// Reads and loads the file at path (a local path); relative `paths` folders
/// are taken from the file's folder. A folder, a file that cannot be read or
/// one larger than kMaxSceneFileSize is an error of the document.
std::unique_ptr<Scene> LoadSceneFile(const std::string& path, LoadOptions options = {});
/// Loads scene text (UTF-8 JSON).
std::unique_ptr<Scene> LoadSceneText(std::string_view text, const LoadOptions& options = {});

class ByteSource;
/// Loads scene text read from source in chunks of chunk_size bytes: the file
/// is read once, front to back, and never held whole.
std::unique_ptr<Scene> LoadSceneFrom(ByteSource& source, const LoadOptions& options, size_t chunk_size = size_t(1) << 20);

}  // namespace sim
