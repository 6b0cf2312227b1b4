// The file calls of the core library on Windows. Paths are code page 1251
// byte strings, which the ANSI calls take as they are.
#include <windows.h>

#include "io/platform_file.h"

namespace xIo::xOs {

namespace {

int LastError() {
    DWORD error = GetLastError();
    return error != 0 ? static_cast<int>(error) : ERROR_GEN_FAILURE;
}

HANDLE Win(Handle handle) { return reinterpret_cast<HANDLE>(handle); }

OVERLAPPED At(int64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset) & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
    return at;
}

}  // namespace

std::string ErrorText(int error) {
    char text[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(error), 0, text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == '.')) text[--n] = 0;
    return n > 0 ? std::string(text, n) : "system error " + std::to_string(error);
}

bool IsAlreadyExists(int error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }
bool IsNotFound(int error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }
int DiskFullError() { return ERROR_DISK_FULL; }

int Open(const std::string& path, OpenMode mode, Handle& handle) {
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    if (mode != OpenMode::kRead) access |= GENERIC_WRITE;
    if (mode == OpenMode::kReadWrite) disposition = OPEN_ALWAYS;
    if (mode == OpenMode::kReadWriteTruncate) disposition = CREATE_ALWAYS;
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened at all.
    HANDLE h = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return LastError();
    handle = reinterpret_cast<Handle>(h);
    return 0;
}

int CreateNew(const std::string& path, Handle& handle) {
    // CREATE_NEW fails on any existing name, a link included.
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return LastError();
    handle = reinterpret_cast<Handle>(h);
    return 0;
}

int Close(Handle handle) { return CloseHandle(Win(handle)) ? 0 : LastError(); }

int ReadAt(Handle handle, void* data, size_t count, int64_t offset, size_t& done) {
    OVERLAPPED at = At(offset);
    DWORD n = 0;
    if (!ReadFile(Win(handle), data, static_cast<DWORD>(count), &n, &at) && GetLastError() != ERROR_HANDLE_EOF)
        return LastError();
    done = n;
    return 0;
}

int WriteAt(Handle handle, const void* data, size_t count, int64_t offset, size_t& done) {
    OVERLAPPED at = At(offset);
    DWORD n = 0;
    if (!WriteFile(Win(handle), data, static_cast<DWORD>(count), &n, &at)) return LastError();
    done = n;
    return 0;
}

int GetSize(Handle handle, int64_t& size) {
    LARGE_INTEGER value;
    if (!GetFileSizeEx(Win(handle), &value)) return LastError();
    size = value.QuadPart;
    return 0;
}

int SetSize(Handle handle, int64_t size) {
    LARGE_INTEGER end;
    end.QuadPart = size;
    if (!SetFilePointerEx(Win(handle), end, nullptr, FILE_BEGIN) || !SetEndOfFile(Win(handle))) return LastError();
    return 0;
}

int Lookup(const std::string& path, FileInfo& info) {
    info = FileInfo{};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        int error = LastError();
        return IsNotFound(error) ? 0 : error;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) info.kind = Kind::kLink;
    else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) info.kind = Kind::kDirectory;
    else info.kind = Kind::kFile;
    if (info.kind == Kind::kFile) {
        // Device names (NUL, COM1, ...) answer as files: ask what the handle is.
        HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            if (GetFileType(h) != FILE_TYPE_DISK) info.kind = Kind::kOther;
            CloseHandle(h);
        }
    }
    info.readOnly = info.kind == Kind::kFile && (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return 0;
}

bool IsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Accessible(const std::string& path, int mode) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (mode & 2) == 0 || (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

int Replace(const std::string& from, const std::string& to) {
    // A plain rename fails when to exists; this call replaces it.
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : LastError();
}

int RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) ? 0 : LastError(); }

int MakeDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) ? 0 : LastError(); }

int RemoveDirectory(const std::string& path) { return RemoveDirectoryA(path.c_str()) ? 0 : LastError(); }

int ListDirectory(const std::string& path, std::vector<std::string>& names) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((path + "/*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return LastError();
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return 0;
}

}  // namespace xIo::xOs
