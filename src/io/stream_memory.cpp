#include "io/stream_memory.h"

#include <cstdlib>

#include "base/debug.h"
#include "base/format.h"

namespace xIo {

eBufferStream::eBufferStream(std::string_view data) {
    AllocateWindow(static_cast<int32_t>(data.size()));
    if (!data.empty()) std::memcpy(windowBegin_, data.data(), data.size());
    size_ = static_cast<int32_t>(data.size());
    flags_ = kModeRead;
}

void eBufferStream::Advance() {
    // The buffer is the whole stream: there is nothing to move to.
    if (flags_ & kStateDirty) Flush();
}

eMemoryStream::eMemoryStream(int32_t capacity, int32_t growth_step) {
    if (capacity < 0) capacity = 0;
    AllocateWindow(capacity);
    growthStep_ = growth_step > 0 ? growth_step : (capacity > 0 ? capacity : 256);
    flags_ = kModeWrite | kModeInteractive;
}

void eMemoryStream::Flush() {
    flags_ &= ~kStateDirty;
    GrowSizeToPosition();
}

void eMemoryStream::WriteFrom(eStream& source, int32_t count) {
    int32_t wanted = count < 0 ? source.Size() - source.Position() : count;
    if (static_cast<int64_t>(Position()) + wanted > INT32_MAX) Fail(__LINE__, "stream larger than 2 GiB");
    if (wanted > WindowLeft()) Resize(Position() + wanted);
    eStream::WriteFrom(source, count);
}

void eMemoryStream::Advance() {
    int64_t capacity = static_cast<int64_t>(Capacity()) + growthStep_;
    if (capacity > INT32_MAX) Fail(__LINE__, "stream larger than 2 GiB");
    Resize(static_cast<int32_t>(capacity));
}

void eMemoryStream::MakeRoom(int32_t count, const char* what) {
    (void)what;
    if (WindowLeft() >= count) return;
    int64_t needed = static_cast<int64_t>(cursor_ - windowBegin_) + count;
    int64_t capacity = Capacity();
    capacity += (needed - capacity + growthStep_ - 1) / growthStep_ * growthStep_;
    if (capacity > INT32_MAX) Fail(__LINE__, "stream larger than 2 GiB");
    Resize(static_cast<int32_t>(capacity));
}

void eMemoryStream::Resize(int32_t capacity) {
    size_t offset = static_cast<size_t>(cursor_ - windowBegin_);
    // realloc moves large blocks by remapping pages, which keeps fixed-step
    // growth cheap even for buffers of many megabytes.
    uint8_t* buffer = static_cast<uint8_t*>(std::realloc(windowBegin_, capacity > 0 ? static_cast<size_t>(capacity) : 1));
    if (buffer == nullptr)
        xDebug::Error("io/stream_file", __LINE__, format("Cannot allocate a stream window of %1% bytes") % capacity);
    windowBegin_ = buffer;
    cursor_ = buffer + offset;
    windowEnd_ = buffer + capacity;
}

void eMemoryStream::Clear() {
    cursor_ = windowBegin_;
    size_ = 0;
    flags_ &= ~kStateDirty;
}

}  // namespace xIo
