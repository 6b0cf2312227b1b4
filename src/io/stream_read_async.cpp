#include "io/stream_read_async.h"

#include <aio.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/debug.h"
#include "base/format.h"
#include "io/path_map.h"

namespace xIo::xRepository {

namespace {
const char* const kSource = "io/stream_file";
aiocb* AsAiocb(void* request) { return static_cast<aiocb*>(request); }
}  // namespace

eFileStreamReadAsync::~eFileStreamReadAsync() { Close(); }

bool eFileStreamReadAsync::Open(const std::string& name, int32_t window_size) {
    Close();
    name_ = name;
    flags_ = kModeRead;
    handle_ = open(LocalPath(name).c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (handle_ < 0 || fstat(handle_, &st) != 0 || st.st_size > INT32_MAX) {
        if (handle_ >= 0) close(handle_);
        handle_ = -1;
        flags_ |= kStateFailed;
        return false;
    }
    size_ = static_cast<int32_t>(st.st_size);
    int32_t pieces = std::max<int32_t>(1, (std::max<int32_t>(window_size, 1) + kPieceSize - 1) / kPieceSize);
    int32_t length = pieces * kPieceSize;
    AllocateWindow(length);
    pendingBuffer_ = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(length)));
    request_ = std::calloc(1, sizeof(aiocb));
    if (pendingBuffer_ == nullptr || request_ == nullptr)
        xDebug::Error(kSource, __LINE__, format("Cannot allocate a stream window of %1% bytes") % length);
    filledOnce_ = false;
    Request(0);
    Fill();
    return true;
}

void eFileStreamReadAsync::Close() {
    if (pending_) Cancel();
    if (handle_ >= 0) close(handle_);
    handle_ = -1;
    std::free(pendingBuffer_);
    pendingBuffer_ = nullptr;
    std::free(request_);
    request_ = nullptr;
    FreeWindow();
    size_ = windowBase_ = 0;
}

void eFileStreamReadAsync::Request(int32_t position) {
    aiocb* request = AsAiocb(request_);
    std::memset(request, 0, sizeof *request);
    request->aio_fildes = handle_;
    request->aio_buf = pendingBuffer_;
    request->aio_nbytes = static_cast<size_t>(std::min(WindowLength(), size_ - position));
    request->aio_offset = position;
    pendingPosition_ = position;
    if (aio_read(request) != 0) xDebug::Error(kSource, __LINE__, format("%1% - read error!") % name_);
    pending_ = true;
}

int64_t eFileStreamReadAsync::Wait() {
    aiocb* request = AsAiocb(request_);
    const aiocb* list[1] = {request};
    int status;
    while ((status = aio_error(request)) == EINPROGRESS) aio_suspend(list, 1, nullptr);
    pending_ = false;
    ssize_t done = aio_return(request);
    return status == 0 ? done : -1;
}

void eFileStreamReadAsync::Cancel() {
    // The buffer belongs to the read until it is finished or cancelled.
    aio_cancel(handle_, AsAiocb(request_));
    Wait();
}

void eFileStreamReadAsync::SwapInPending() {
    int32_t length = WindowLength();
    std::swap(windowBegin_, pendingBuffer_);
    cursor_ = windowBegin_;
    windowEnd_ = windowBegin_ + length;
}

void eFileStreamReadAsync::Fill() {
    if (handle_ < 0 || windowBase_ >= size_) return;
    if (!pending_ || pendingPosition_ != windowBase_) {
        if (pending_) Cancel();
        if (filledOnce_) xDebug::Info(format("Seek : %1% (%2%)") % name_ % windowBase_);
        Request(windowBase_);
    }
    int64_t expected = std::min(WindowLength(), size_ - windowBase_);
    int64_t done = Wait();
    // A short read means the file changed under the stream; nothing below
    // may read bytes that are not there.
    if (done != expected) xDebug::Error(kSource, __LINE__, format("%1% - read error!") % name_);
    SwapInPending();
    filledOnce_ = true;
    int32_t next = windowBase_ + WindowLength();
    if (next < size_) Request(next);
}

}  // namespace xIo::xRepository
