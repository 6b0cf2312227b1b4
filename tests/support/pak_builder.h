#pragma once
// Builds .pak archives (zip files) for tests, and patches their headers to
// make them lie.
#include <cstdint>
#include <string>
#include <vector>

namespace qeltest {

struct PakEntry {
    std::string name;
    std::string content;
    bool deflated = true;
};

/// Writes a zip archive with the entries, in order; throws std::runtime_error
/// when the archive cannot be written.
void WritePak(const std::string& path, const std::vector<PakEntry>& entries);
/// The bytes of such an archive.
std::string PakBytes(const std::vector<PakEntry>& entries);

/// Header fields that the tests make lie.
enum class PakField { Crc, CompressedSize, UncompressedSize };
/// Sets a field of every entry's local and central header in archive bytes.
void PatchPak(std::string& archive, PakField field, uint32_t value);

}  // namespace qeltest
