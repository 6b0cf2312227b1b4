#pragma once
// File-system operations beside the streams. Paths go through LocalPath.
#include <cstdint>
#include <string>

namespace xIo {

/// Lower-cases every ASCII letter and turns every backslash into a slash.
void NormalizePath(std::string& path);
/// True when the system's access test with mode succeeds (0: exists,
/// 2: writable, 4: readable).
bool FileExists(const std::string& path, int mode = 0);
/// Creates every missing directory along path; true when it exists at the end.
bool MakeDirectories(const std::string& path);
/// Deletes one file; true on success.
bool RemoveFile(const std::string& path);
/// Deletes a file, or empties a directory recursively and removes it.
bool RemovePath(const std::string& path);
/// Removes a directory only when it is empty; true on success.
bool RemoveEmptyDirectory(const std::string& path);
/// The last write time of a regular file in 100-nanosecond steps since
/// 1601-01-01; 0 for a missing file, a folder or a refused path.
uint64_t FileWriteTime(const std::string& path);
/// Sets a regular file's last write time to the current time; false when it
/// is missing, refused or the system does not allow it.
bool SetFileWriteTimeNow(const std::string& path);
/// False when from does not exist; otherwise moves it over to, replacing it.
bool MoveFileReplacing(const std::string& from, const std::string& to);

}  // namespace xIo
