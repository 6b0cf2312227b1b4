#include "io/stream.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "base/debug.h"
#include "base/format.h"

namespace xIo {

namespace {
const char* const kSource = "io/stream_file";
}

eStream::~eStream() { FreeWindow(); }

void eStream::Fail(int line, const char* what) const {
    xDebug::Error(kSource, line,
                  format("Stream error: %1% (position %2%, size %3%)") % what % Position() % size_);
}

void eStream::AllocateWindow(int32_t length) {
    FreeWindow();
    if (length < 0) Fail(__LINE__, "negative window length");
    uint8_t* window = static_cast<uint8_t*>(std::malloc(length > 0 ? static_cast<size_t>(length) : 1));
    if (window == nullptr)
        xDebug::Error(kSource, __LINE__, format("Cannot allocate a stream window of %1% bytes") % length);
    windowBegin_ = cursor_ = window;
    windowEnd_ = window + length;
    windowBase_ = 0;
}

void eStream::FreeWindow() {
    std::free(windowBegin_);
    windowBegin_ = cursor_ = windowEnd_ = nullptr;
}

void eStream::Skip(int32_t delta) {
    if (delta == 0) return;
    int64_t target = static_cast<int64_t>(Position()) + delta;
    if (target < 0 || target > size_) Fail(__LINE__, "seek outside the stream");
    if (flags_ & kStateDirty) Flush();
    int32_t t = static_cast<int32_t>(target);
    if (t >= windowBase_ && t <= windowBase_ + WindowLength()) {
        cursor_ = windowBegin_ + (t - windowBase_);
        return;
    }
    cursor_ = windowBegin_;
    windowBase_ = t;
    Advance();
}

void eStream::Flush() { flags_ &= ~kStateDirty; }

void eStream::Truncate() { size_ = Position(); }

void eStream::Advance() {
    if (flags_ & kStateDirty) Flush();
    windowBase_ += static_cast<int32_t>(cursor_ - windowBegin_);
    cursor_ = windowBegin_;
    if (flags_ & kModeRead) Fill();
}

void eStream::MakeRoom(int32_t count, const char* what) {
    while (WindowLeft() < count) {
        int32_t before = WindowLeft();
        Advance();
        if (WindowLeft() <= before) Fail(__LINE__, what);
    }
}

eStream& eStream::Write(const void* data, int32_t count) {
    if (count < 0) Fail(__LINE__, "negative write count");
    if (static_cast<int64_t>(Position()) + count > INT32_MAX) Fail(__LINE__, "stream larger than 2 GiB");
    const uint8_t* src = static_cast<const uint8_t*>(data);
    while (count > 0) {
        if (cursor_ == windowEnd_) MakeRoom(1, "write to a stream without room in its window");
        int32_t piece = std::min(count, WindowLeft());
        std::memcpy(cursor_, src, static_cast<size_t>(piece));
        cursor_ += piece;
        src += piece;
        count -= piece;
        flags_ |= kStateDirty;
        GrowSizeToPosition();
    }
    return *this;
}

eStream& eStream::WriteString(std::string_view text) {
    size_t length = text.size();
    if (length >= (1u << 24)) Fail(__LINE__, "string longer than the 24-bit length prefix");
    if (length < 255) {
        PutByte(static_cast<uint8_t>(length));
    } else {
        uint8_t prefix[4] = {0xFF, static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
                             static_cast<uint8_t>(length >> 16)};
        Write(prefix, 4);
    }
    return Write(text.data(), static_cast<int32_t>(length));
}

uint8_t* eStream::Reserve(int32_t count) {
    if (count < 0) Fail(__LINE__, "negative reserve count");
    if (static_cast<int64_t>(Position()) + count > INT32_MAX) Fail(__LINE__, "stream larger than 2 GiB");
    if (WindowLeft() < count) MakeRoom(count, "reserve larger than the stream window");
    uint8_t* p = cursor_;
    cursor_ += count;
    flags_ |= kStateDirty;
    GrowSizeToPosition();
    return p;
}

const uint8_t* eStream::Peek(int32_t count) {
    if (count < 0 || count > size_ - Position()) Fail(__LINE__, "read past the end of the stream");
    if (WindowLeft() < count) MakeRoom(count, "peek larger than the stream window");
    const uint8_t* p = cursor_;
    cursor_ += count;
    return p;
}

void eStream::Read(void* destination, int32_t count) {
    if (count < 0 || count > size_ - Position()) Fail(__LINE__, "read past the end of the stream");
    uint8_t* dst = static_cast<uint8_t*>(destination);
    while (count > 0) {
        if (cursor_ == windowEnd_) MakeRoom(1, "read from a stream without a window");
        int32_t piece = std::min({count, WindowLeft(), size_ - Position()});
        std::memcpy(dst, cursor_, static_cast<size_t>(piece));
        cursor_ += piece;
        dst += piece;
        count -= piece;
    }
}

eStream& eStream::Seek(int32_t offset, int origin) {
    int64_t target = 0;
    switch (origin) {
        case 0: target = offset; break;
        case 1: target = static_cast<int64_t>(Position()) + offset; break;
        case 2: target = static_cast<int64_t>(size_) - offset; break;
        default: Fail(__LINE__, "unknown seek origin");
    }
    if (target < 0 || target > size_) Fail(__LINE__, "seek outside the stream");
    Skip(static_cast<int32_t>(target - Position()));
    return *this;
}

void eStream::WriteFrom(eStream& source, int32_t count) {
    if (count < 0) count = source.Size() - source.Position();
    if (count > source.Size() - source.Position()) Fail(__LINE__, "copy past the end of the source stream");
    int32_t half = std::max<int32_t>(1, source.WindowLength() / 2);
    while (count > 0) {
        if (source.cursor_ == source.windowEnd_) source.MakeRoom(1, "copy from a stream without a window");
        int32_t piece = std::min({count, source.WindowLeft(), source.Size() - source.Position(), half});
        Write(source.cursor_, piece);
        source.cursor_ += piece;
        count -= piece;
    }
}

}  // namespace xIo
