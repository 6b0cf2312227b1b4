#pragma once
// Interchange files (FBX, glTF) read into a scene of the simulated host, the
// same scene a scene file loads into, so everything after loading is the same
// code. A file that cannot be imported raises ImportError and builds nothing.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/scene.h"

namespace import {

/// Why a file could not be imported (the file's name is not part of it).
class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// An imported scene and what the import could not carry over, one line each.
struct ImportResult {
    std::unique_ptr<sim::Scene> scene;
    std::vector<std::string> warnings;
};

enum class FileKind { kSceneFile, kFbx, kGltf, kGlb, kOther };

/// The kind of file path names, by its extension (without regard to case).
FileKind KindOfFile(const std::string& path);
/// True for .fbx, .gltf and .glb.
bool IsInterchangeFile(const std::string& path);

/// Imports the FBX, glTF or glb file at path (a local path). Throws
/// ImportError for a file that cannot be read, is not of a kind this import
/// knows, or holds what no scene can be built from.
ImportResult ImportFile(const std::string& path);

/// Imports glTF text (binary false) or a glb container held in memory.
/// External files (buffers named by a relative path) are read from base_dir
/// when allow_files is true and refused otherwise.
ImportResult ImportGltfBytes(const unsigned char* bytes, size_t size, bool binary, const std::string& base_dir,
                             bool allow_files);
/// Imports FBX bytes (binary or ASCII) held in memory.
ImportResult ImportFbxBytes(const unsigned char* bytes, size_t size, const std::string& base_dir);

}  // namespace import
