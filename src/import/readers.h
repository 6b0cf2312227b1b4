#pragma once
// The two readers behind ImportFile: the bytes of a file and its local path
// (its folder is served as the import's host prefix).
#include <string>

#include "import/import_file.h"

namespace import {

ImportResult ImportGltf(const unsigned char* bytes, size_t size, bool binary, const std::string& file, bool allow_files);
ImportResult ImportFbx(const unsigned char* bytes, size_t size, const std::string& file);

}  // namespace import
