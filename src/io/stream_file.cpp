#include "io/stream_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

#include "base/debug.h"
#include "base/format.h"
#include "base/platform.h"
#include "io/file_system.h"
#include "io/path_map.h"

namespace xIo {

namespace {
const char* const kSource = "io/stream_file";
const char* const kBoxCaption = "Error writing filestream";

FileWrittenHook& WrittenHook() {
    static FileWrittenHook hook;
    return hook;
}
}  // namespace

void SetFileWrittenHook(FileWrittenHook hook) { WrittenHook() = std::move(hook); }

bool eFileStream::AskRetry(const std::string& path) const {
    if (flags_ & kModeInteractive) {
        xPlatform::MessageBoxParams box;
        box.text = path;
        box.caption = kBoxCaption;
        box.style = xPlatform::kBoxRetryCancel | xPlatform::kBoxIconExclamation | xPlatform::kBoxSystemModal |
                    xPlatform::kBoxTopmost;
        if (xDebug::Handler().Present(box) == xPlatform::kAnswerRetry) return true;
    }
    xDebug::Error(kSource, __LINE__, format("%1% - open error!") % path);
}

bool eFileStream::Open(const std::string& name, uint32_t mode, int32_t buffer_size) {
    if (IsOpen()) Close();
    flags_ = mode & ~(kStateFailed | kStateDirty);
    name_ = name;
    size_ = 0;
    FreeWindow();

    int os_flags = O_RDONLY;
    if (mode & kModeWrite) os_flags = O_RDWR | O_CREAT;
    if ((mode & kModeWrite) && (mode & kModeTruncate)) os_flags |= O_TRUNC;
    os_flags |= O_CLOEXEC;
    std::string path = UsesTemporary() ? TemporaryName() : name_;

    for (;;) {
        handle_ = open(LocalPath(path).c_str(), os_flags, 0666);
        struct stat st;
        if (handle_ >= 0 && fstat(handle_, &st) == 0 && S_ISDIR(st.st_mode)) {
            close(handle_);  // a folder is no file to read or write
            handle_ = -1;
        }
        if (handle_ >= 0) break;
        if (!(mode & kModeInteractive)) {
            flags_ |= kStateFailed;
            return false;
        }
        AskRetry(path);
    }

    struct stat st;
    if (fstat(handle_, &st) != 0 || st.st_size > INT32_MAX) {
        int error = errno;
        close(handle_);
        handle_ = -1;
        if (UsesTemporary()) unlink(LocalPath(TemporaryName()).c_str());
        flags_ |= kStateFailed;
        xDebug::Error(kSource, __LINE__,
                      format("%1% - open error (%2%)!") % path % (error ? std::strerror(error) : "file larger than 2 GiB"));
    }
    size_ = static_cast<int32_t>(st.st_size);
    int32_t window = buffer_size > 0 ? buffer_size : kOutputBufferSize;
    if (!(mode & kModeWrite) && window > size_) window = size_;
    AllocateWindow(window);
    pendingCommit_ = UsesTemporary();
    uncaughtAtOpen_ = std::uncaught_exceptions();
    Fill();
    return true;
}

void eFileStream::Fill() {
    if (!IsOpen()) return;
    int32_t count = std::min(size_ - windowBase_, WindowLength());
    int32_t done = 0;
    while (done < count) {
        ssize_t n = pread(handle_, windowBegin_ + done, static_cast<size_t>(count - done), windowBase_ + done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) xDebug::Error(kSource, __LINE__, format("%1% - read error!") % name_);
        done += static_cast<int32_t>(n);
    }
}

void eFileStream::Advance() {
    eStream::Advance();
    if (!(flags_ & kModeRead) && (flags_ & kModeWrite) && windowBase_ < size_) Fill();
}

void eFileStream::Flush() {
    int32_t count = static_cast<int32_t>(cursor_ - windowBegin_);
    if (IsOpen() && count > 0 && (flags_ & kModeWrite)) {
        int32_t done = 0;
        while (done < count) {
            ssize_t n = pwrite(handle_, windowBegin_ + done, static_cast<size_t>(count - done), windowBase_ + done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) WriteFailed(n < 0 ? errno : ENOSPC);
            done += static_cast<int32_t>(n);
        }
    }
    flags_ &= ~kStateDirty;
}

void eFileStream::Truncate() {
    size_ = Position();
    Flush();
    if (IsOpen() && (flags_ & kModeWrite) && ftruncate(handle_, size_) != 0) WriteFailed(errno);
}

void eFileStream::Abandon() {
    if (IsOpen()) {
        close(handle_);
        handle_ = -1;
    }
    if (pendingCommit_) unlink(LocalPath(TemporaryName()).c_str());
    pendingCommit_ = false;
    flags_ &= ~(kStateDirty | kModeWrite);  // nothing more is written or committed
}

void eFileStream::WriteFailed(int error) {
    Abandon();
    flags_ |= kStateFailed;
    xDebug::Error(kSource, __LINE__, format("%1% - write error (%2%)!") % name_ % std::strerror(error));
}

void eFileStream::Close() {
    if (IsOpen()) {
        if ((flags_ & kStateDirty) || (flags_ & kModeWrite)) Flush();
        int result = close(handle_);
        handle_ = -1;
        if (result != 0 && (flags_ & kModeWrite)) WriteFailed(errno);
    }
    bool written = (flags_ & kModeWrite) && !(flags_ & kStateFailed);
    if (pendingCommit_) {
        pendingCommit_ = false;
        while (!MoveFileReplacing(TemporaryName(), name_)) AskRetry(name_);
    }
    if (written && WrittenHook()) WrittenHook()(name_);
    flags_ &= ~kModeWrite;  // reported once
}

eFileStream::~eFileStream() {
    if (std::uncaught_exceptions() > uncaughtAtOpen_) {
        Abandon();
        return;
    }
    try {
        Close();
    } catch (const xDebug::eException&) {
        // Already reported through the error channel; a destructor cannot
        // pass it on.
    }
}

}  // namespace xIo
