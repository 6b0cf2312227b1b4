#pragma once
// The two readers behind ImportFile: the bytes of a file and its local path
// (its folder is served as the import's host prefix).
#include <string>
#include <vector>

#include "import/import_file.h"

namespace import {

/// owner, when given, holds bytes and is emptied once they are no longer needed.
ImportResult ImportGltf(const unsigned char* bytes, size_t size, bool binary, const std::string& file, bool allow_files,
                        std::vector<unsigned char>* owner = nullptr);
ImportResult ImportFbx(const unsigned char* bytes, size_t size, const std::string& file);

}  // namespace import
