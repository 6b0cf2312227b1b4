// The file calls of the core library on POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/platform_file.h"

namespace xIo::xOs {

namespace {

int LastError() { return errno != 0 ? errno : EIO; }

int Fd(Handle handle) { return static_cast<int>(handle); }

// One read or write, repeated when a signal interrupts it before any byte moved.
template <class Call>
int Transfer(Call call, size_t& done) {
    ssize_t n;
    do n = call();
    while (n < 0 && errno == EINTR);
    if (n < 0) return LastError();
    done = static_cast<size_t>(n);
    return 0;
}

}  // namespace

std::string ErrorText(int error) { return std::strerror(error); }
bool IsAlreadyExists(int error) { return error == EEXIST; }
bool IsNotFound(int error) { return error == ENOENT || error == ENOTDIR; }
int DiskFullError() { return ENOSPC; }

int Open(const std::string& path, OpenMode mode, Handle& handle) {
    int flags = O_CLOEXEC;
    switch (mode) {
        // A pipe opened for reading would wait for a writer; without one it
        // reads as empty. Regular files ignore the flag.
        case OpenMode::kRead: flags |= O_RDONLY | O_NONBLOCK; break;
        case OpenMode::kReadWrite: flags |= O_RDWR | O_CREAT; break;
        case OpenMode::kReadWriteTruncate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    int fd = open(path.c_str(), flags, 0666);
    if (fd < 0) return LastError();
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {  // a folder is no file to read or write
        close(fd);
        return EISDIR;
    }
    handle = fd;
    return 0;
}

int CreateNew(const std::string& path, Handle& handle) {
    // O_EXCL fails on any existing name, a dangling link included; O_NOFOLLOW
    // says the same for systems that would otherwise follow one.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return errno == ELOOP ? EEXIST : LastError();
    handle = fd;
    return 0;
}

int Close(Handle handle) { return close(Fd(handle)) == 0 ? 0 : LastError(); }

int ReadAt(Handle handle, void* data, size_t count, int64_t offset, size_t& done) {
    return Transfer([&] { return pread(Fd(handle), data, count, static_cast<off_t>(offset)); }, done);
}

int WriteAt(Handle handle, const void* data, size_t count, int64_t offset, size_t& done) {
    return Transfer([&] { return pwrite(Fd(handle), data, count, static_cast<off_t>(offset)); }, done);
}

int GetSize(Handle handle, int64_t& size) {
    struct stat st;
    if (fstat(Fd(handle), &st) != 0) return LastError();
    size = st.st_size;
    return 0;
}

int SetSize(Handle handle, int64_t size) { return ftruncate(Fd(handle), static_cast<off_t>(size)) == 0 ? 0 : LastError(); }

int Lookup(const std::string& path, FileInfo& info) {
    info = FileInfo{};
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return IsNotFound(errno) ? 0 : LastError();
    if (S_ISREG(st.st_mode)) info.kind = Kind::kFile;
    else if (S_ISDIR(st.st_mode)) info.kind = Kind::kDirectory;
    else if (S_ISLNK(st.st_mode)) info.kind = Kind::kLink;
    else info.kind = Kind::kOther;
    // Without any write bit the file is read-only, as the host platform's
    // attribute makes it, even for a user whom the system would let write.
    info.readOnly = info.kind == Kind::kFile && ((st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0);
    return 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Accessible(const std::string& path, int mode) { return access(path.c_str(), mode) == 0; }

int Replace(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : LastError();
}

int RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0 ? 0 : LastError(); }

int MakeDirectory(const std::string& path) { return mkdir(path.c_str(), 0777) == 0 ? 0 : LastError(); }

int RemoveDirectory(const std::string& path) { return rmdir(path.c_str()) == 0 ? 0 : LastError(); }

int ListDirectory(const std::string& path, std::vector<std::string>& names) {
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return LastError();
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return 0;
}

}  // namespace xIo::xOs
