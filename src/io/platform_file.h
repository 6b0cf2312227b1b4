#pragma once
// The operating system's file calls that the file stream and the file-system
// helpers need, on local paths (after the path map). One implementation file
// per platform: platform_posix.cpp, platform_win32.cpp. Every call returns 0
// on success or the system's error code (errno, or GetLastError on Windows),
// which ErrorText turns into the system's words.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace xIo::xOs {

using Handle = intptr_t;
inline constexpr Handle kNoHandle = -1;

/// The system's text for an error code ("Permission denied").
std::string ErrorText(int error);
/// True when error says that the name is taken already.
bool IsAlreadyExists(int error);
/// True when error says that the file or a folder on its path is missing.
bool IsNotFound(int error);
/// The error of a write that the system accepted without writing a byte.
int DiskFullError();

enum class OpenMode {
    kRead,               ///< an existing file, for reading
    kReadWrite,          ///< read and write, created when missing
    kReadWriteTruncate,  ///< read and write, created when missing, emptied
};
/// Opens path with shared read and write access; a folder is refused.
int Open(const std::string& path, OpenMode mode, Handle& handle);
/// Creates path as a new empty file for reading and writing, only when
/// nothing has that name yet: no existing file is reused and no link planted
/// at the name is followed (the error then says the name exists).
int CreateNew(const std::string& path, Handle& handle);
int Close(Handle handle);
/// Reads up to count bytes at offset; done is what was read (0 at the end).
int ReadAt(Handle handle, void* data, size_t count, int64_t offset, size_t& done);
/// Writes up to count bytes at offset; done is what was written.
int WriteAt(Handle handle, const void* data, size_t count, int64_t offset, size_t& done);
int GetSize(Handle handle, int64_t& size);
int SetSize(Handle handle, int64_t size);

/// What a name is, without following a link at the name itself.
enum class Kind { kMissing, kFile, kDirectory, kLink, kOther };
struct FileInfo {
    Kind kind = Kind::kMissing;
    bool readOnly = false;  ///< a file nobody may write (the read-only attribute)
};
int Lookup(const std::string& path, FileInfo& info);
/// True when path names a folder, or a link to one.
bool IsDirectory(const std::string& path);
/// The access test of FileExists (0: exists, 2: writable, 4: readable).
bool Accessible(const std::string& path, int mode);

/// Moves from over to in one step, replacing a file that has that name, so
/// that to always names either the old or the new content.
int Replace(const std::string& from, const std::string& to);
int RemoveFile(const std::string& path);
/// Creates one folder; an existing name gives the already-exists error.
int MakeDirectory(const std::string& path);
int RemoveDirectory(const std::string& path);
/// The names in a folder, without "." and "..".
int ListDirectory(const std::string& path, std::vector<std::string>& names);

}  // namespace xIo::xOs
