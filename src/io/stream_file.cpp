#include "io/stream_file.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <exception>
#include <random>

#include "base/debug.h"
#include "base/format.h"
#include "base/platform.h"
#include "io/path_map.h"

namespace xIo {

namespace {
const char* const kSource = "io/stream_file";
const char* const kBoxCaption = "Error writing filestream";

// Names tried for a temporary file before giving up: another holder of every
// one of them is no accident.
constexpr int kTemporaryNameAttempts = 64;

FileWrittenHook& WrittenHook() {
    static FileWrittenHook hook;
    return hook;
}

FileFailureHook& FailureHook() {
    static FileFailureHook hook;
    return hook;
}

// Ten letters and digits that no other stream, in this process or another,
// is likely to pick at the same time.
std::string UniqueTag() {
    thread_local std::mt19937_64 engine = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }();
    const char* const kDigits = "0123456789abcdefghijklmnopqrstuv";
    uint64_t value = engine();
    std::string tag;
    for (int i = 0; i < 10; ++i, value >>= 5) tag += kDigits[value & 31];
    return tag;
}

const char* KindName(xOs::Kind kind) {
    switch (kind) {
        case xOs::Kind::kDirectory: return "a folder, not a regular file";
        case xOs::Kind::kLink: return "a link, not a regular file";
        case xOs::Kind::kOther: return "a device, pipe or socket, not a regular file";
        default: return "";
    }
}
}  // namespace

void SetFileWrittenHook(FileWrittenHook hook) { WrittenHook() = std::move(hook); }
void SetFileFailureHook(FileFailureHook hook) { FailureHook() = std::move(hook); }

std::string FileFailure::Describe() const {
    switch (step) {
        case Step::kOpen: return "cannot open " + localPath + ": " + reason;
        case Step::kCreateTemporary:
            return "cannot create the temporary file " + temporaryPath + " for " + localPath + ": " + reason;
        case Step::kRefusedTarget: return "will not replace " + localPath + ": it is " + reason;
        case Step::kRead: return "cannot read " + localPath + ": " + reason;
        case Step::kWrite: return "cannot write " + (temporaryPath.empty() ? localPath : temporaryPath) + ": " + reason;
        case Step::kReplace: return "cannot rename " + temporaryPath + " to " + localPath + ": " + reason;
    }
    return reason;
}

void eFileStream::ReportFailure(FileFailure::Step step, const std::string& reason) const {
    if (!FailureHook()) return;
    FileFailure failure;
    failure.step = step;
    failure.name = name_;
    failure.localPath = local_;
    failure.temporaryPath = temporaryLocal_;
    failure.reason = reason;
    FailureHook()(failure);
}

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

std::string eFileStream::RefusalOfTarget(bool replacing, int& error) const {
    xOs::FileInfo info;
    error = xOs::Lookup(local_, info);
    if (error != 0) return xOs::ErrorText(error);
    // Replacing turns whatever has the name into a regular file; writing in
    // place (the direct mode) is meant for what is there.
    if (replacing && info.kind != xOs::Kind::kMissing && info.kind != xOs::Kind::kFile) return KindName(info.kind);
    if (info.readOnly) return "a read-only file";
    return {};
}

int eFileStream::CreateTemporary() {
    int error = 0;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary_ = name_ + "." + UniqueTag() + ".tmp";
        temporaryLocal_ = LocalPath(temporary_);
        error = xOs::CreateNew(temporaryLocal_, handle_);
        if (!xOs::IsAlreadyExists(error)) break;
    }
    return error;
}

bool eFileStream::TryOpen(std::string& failed_name) {
    failed_name = name_;
    temporary_.clear();
    temporaryLocal_.clear();
    bool writing = (flags_ & (kModeWrite | kModeTruncate)) != 0;
    if (writing) {
        int error = 0;
        std::string refusal = RefusalOfTarget(UsesTemporary(), error);
        if (!refusal.empty()) {
            ReportFailure(error ? FileFailure::Step::kOpen : FileFailure::Step::kRefusedTarget, refusal);
            return false;
        }
    }
    if (UsesTemporary()) {
        int error = CreateTemporary();
        if (error == 0) return true;
        failed_name = temporary_;
        ReportFailure(FileFailure::Step::kCreateTemporary, xOs::ErrorText(error));
        temporary_.clear();
        temporaryLocal_.clear();
        return false;
    }
    xOs::OpenMode mode = xOs::OpenMode::kRead;
    if (flags_ & kModeWrite) mode = (flags_ & kModeTruncate) ? xOs::OpenMode::kReadWriteTruncate : xOs::OpenMode::kReadWrite;
    int error = xOs::Open(local_, mode, handle_);
    if (error == 0) return true;
    if (writing) ReportFailure(FileFailure::Step::kOpen, xOs::ErrorText(error));
    return false;
}

bool eFileStream::Open(const std::string& name, uint32_t mode, int32_t buffer_size) {
    if (IsOpen()) Close();
    flags_ = mode & ~(kStateFailed | kStateDirty);
    name_ = name;
    size_ = 0;
    FreeWindow();
    local_ = LocalPath(name_);

    for (std::string failed_name; !TryOpen(failed_name);) {
        if (!(mode & kModeInteractive)) {
            flags_ |= kStateFailed;
            return false;
        }
        AskRetry(failed_name);
    }

    int64_t size = 0;
    int error = xOs::GetSize(handle_, size);
    if (error != 0 || size > INT32_MAX) {
        std::string reason = error ? xOs::ErrorText(error) : "file larger than 2 GiB";
        std::string path = UsesTemporary() ? temporary_ : name_;
        pendingCommit_ = UsesTemporary();
        Abandon();
        flags_ |= kStateFailed;
        xDebug::Error(kSource, __LINE__, format("%1% - open error (%2%)!") % path % reason);
    }
    size_ = static_cast<int32_t>(size);
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
        size_t n = 0;
        int error = xOs::ReadAt(handle_, windowBegin_ + done, static_cast<size_t>(count - done), windowBase_ + done, n);
        if (error != 0 || n == 0) {
            ReportFailure(FileFailure::Step::kRead, error ? xOs::ErrorText(error) : "the file is shorter than it was");
            xDebug::Error(kSource, __LINE__, format("%1% - read error!") % name_);
        }
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
            size_t n = 0;
            int error = xOs::WriteAt(handle_, windowBegin_ + done, static_cast<size_t>(count - done), windowBase_ + done, n);
            if (error != 0) WriteFailed(error);
            if (n == 0) WriteFailed(xOs::DiskFullError());
            done += static_cast<int32_t>(n);
        }
    }
    flags_ &= ~kStateDirty;
}

void eFileStream::Truncate() {
    size_ = Position();
    Flush();
    if (IsOpen() && (flags_ & kModeWrite)) {
        if (int error = xOs::SetSize(handle_, size_)) WriteFailed(error);
    }
}

void eFileStream::Abandon() {
    if (IsOpen()) {
        xOs::Close(handle_);
        handle_ = xOs::kNoHandle;
    }
    if (pendingCommit_) xOs::RemoveFile(temporaryLocal_);
    pendingCommit_ = false;
    flags_ &= ~(kStateDirty | kModeWrite);  // nothing more is written or committed
}

void eFileStream::WriteFailed(int error) {
    ReportFailure(FileFailure::Step::kWrite, xOs::ErrorText(error));
    Abandon();
    flags_ |= kStateFailed;
    xDebug::Error(kSource, __LINE__, format("%1% - write error (%2%)!") % name_ % xOs::ErrorText(error));
}

bool eFileStream::TryCommit() {
    // The target may have changed since Open: check it again just before.
    int error = 0;
    std::string refusal = RefusalOfTarget(true, error);
    if (!refusal.empty()) {
        ReportFailure(error ? FileFailure::Step::kReplace : FileFailure::Step::kRefusedTarget, refusal);
        return false;
    }
    error = xOs::Replace(temporaryLocal_, local_);
    if (error == 0) return true;
    ReportFailure(FileFailure::Step::kReplace, xOs::ErrorText(error));
    return false;
}

void eFileStream::Close() {
    if (IsOpen()) {
        if ((flags_ & kStateDirty) || (flags_ & kModeWrite)) Flush();
        int error = xOs::Close(handle_);
        handle_ = xOs::kNoHandle;
        if (error != 0 && (flags_ & kModeWrite)) WriteFailed(error);
    }
    bool written = (flags_ & kModeWrite) && !(flags_ & kStateFailed);
    if (pendingCommit_) {
        pendingCommit_ = false;
        while (!TryCommit()) AskRetry(name_);
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
