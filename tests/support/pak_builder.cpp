#include "support/pak_builder.h"

#include <zip.h>

#include <cstring>
#include <stdexcept>

#include "support/temp_dir.h"

namespace qeltest {

void WritePak(const std::string& path, const std::vector<PakEntry>& entries) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip) throw std::runtime_error("cannot create " + path);
    for (const PakEntry& entry : entries) {
        zip_fileinfo info{};
        int method = entry.deflated ? Z_DEFLATED : 0;
        if (zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                Z_DEFAULT_COMPRESSION) != ZIP_OK ||
            zipWriteInFileInZip(zip, entry.content.data(), static_cast<unsigned>(entry.content.size())) != ZIP_OK ||
            zipCloseFileInZip(zip) != ZIP_OK)
            throw std::runtime_error("cannot write " + entry.name);
    }
    if (zipClose(zip, nullptr) != ZIP_OK) throw std::runtime_error("cannot close " + path);
}

std::string PakBytes(const std::vector<PakEntry>& entries) {
    TempDir dir;
    WritePak(dir / "a.pak", entries);
    return ReadFile(dir / "a.pak");
}

void PatchPak(std::string& archive, PakField field, uint32_t value) {
    // Offsets of the field in a local header (signature PK\3\4) and in a
    // central directory header (PK\1\2).
    size_t local_offset = field == PakField::Crc ? 14 : field == PakField::CompressedSize ? 18 : 22;
    size_t central_offset = local_offset + 2;
    for (size_t at = 0; at + 46 <= archive.size(); ++at) {
        if (archive.compare(at, 4, "PK\3\4") == 0) std::memcpy(&archive[at + local_offset], &value, 4);
        else if (archive.compare(at, 4, "PK\1\2") == 0) std::memcpy(&archive[at + central_offset], &value, 4);
    }
}

}  // namespace qeltest
