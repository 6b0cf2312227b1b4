#include "import/import_file.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "import/readers.h"

namespace import {

namespace {

constexpr size_t kMaxFileSize = size_t(1) << 30;

std::string LowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) throw ImportError("a directory, not a file");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) throw ImportError("cannot open the file");
    const auto size = std::filesystem::file_size(path, error);
    if (error) throw ImportError("cannot read the file's size");
    if (size > kMaxFileSize) throw ImportError("the file is larger than " + std::to_string(kMaxFileSize >> 20) + " MB");
    std::vector<unsigned char> bytes(static_cast<size_t>(size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        throw ImportError("cannot read the file");
    return bytes;
}

}  // namespace

FileKind KindOfFile(const std::string& path) {
    const std::string extension = LowerExtension(path);
    if (extension == ".fbx") return FileKind::kFbx;
    if (extension == ".gltf") return FileKind::kGltf;
    if (extension == ".glb") return FileKind::kGlb;
    if (extension == ".json") return FileKind::kSceneFile;
    return FileKind::kOther;
}

bool IsInterchangeFile(const std::string& path) {
    const FileKind kind = KindOfFile(path);
    return kind == FileKind::kFbx || kind == FileKind::kGltf || kind == FileKind::kGlb;
}

ImportResult ImportFile(const std::string& path) {
    const FileKind kind = KindOfFile(path);
    if (!IsInterchangeFile(path)) throw ImportError("not an FBX or glTF file (expected .fbx, .gltf or .glb)");
    std::vector<unsigned char> bytes = ReadFile(path);
    if (kind == FileKind::kFbx) return ImportFbx(bytes.data(), bytes.size(), path);
    return ImportGltf(bytes.data(), bytes.size(), kind == FileKind::kGlb, path, true, &bytes);
}

ImportResult ImportFbxBytes(const unsigned char* bytes, size_t size, const std::string& base_dir) {
    return ImportFbx(bytes, size, base_dir + "/memory.fbx");
}

}  // namespace import
