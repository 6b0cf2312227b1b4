#pragma once
// Buffered byte streams. A stream is a window (buffer) over a sequence of
// bytes, with a current position and a size; subclasses differ in where the
// bytes live and how the window is filled and written back.
//
// Binary values are stored as their bytes in memory (little-endian integers,
// IEEE floats). Every failure (reading past the end, seeking outside the
// stream, a window that cannot be allocated) is raised through the error
// channel; no access ever leaves the window.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace xIo {

// Open modes and state bits, kept in one flags word.
enum : uint32_t {
    kModeRead = 0x1,           ///< the window is refilled from the backing store when it moves
    kModeWrite = 0x2,          ///< the backing store is written; files are created if missing
    kModeTruncate = 0x4,       ///< the file is emptied when opened
    kModeInteractive = 0x200,  ///< open/commit failures ask Retry/Cancel and raise on Cancel
    kModeDirect = 0x400,       ///< a written file is written in place, without a temporary file
    kStateFailed = 0x2000,     ///< opening (or writing) failed
    kStateDirty = 0x4000,      ///< the window holds bytes not yet written back
};

class eStream {
public:
    eStream() = default;
    virtual ~eStream();
    eStream(const eStream&) = delete;
    eStream& operator=(const eStream&) = delete;

    /// Moves the position by delta; the target must lie inside the stream.
    virtual void Skip(int32_t delta);
    /// Writes back what the window holds; clears dirty.
    virtual void Flush();
    /// Cuts the stream at the position.
    virtual void Truncate();
    /// Copies count bytes from source's position (count < 0: all the rest).
    virtual void WriteFrom(eStream& source, int32_t count);
    /// Moves the window so that it starts at the position.
    virtual void Advance();
    /// Fills the window from the backing store.
    virtual void Fill() {}

    eStream& Write(const void* data, int32_t count);
    /// The length-prefixed string of the binary formats: one length byte
    /// below 255, else 0xFF and three length bytes (low first); then the
    /// characters, no terminator. Texts of 16 MiB or more are an error.
    eStream& WriteString(std::string_view text);
    eStream& PutByte(uint8_t value) { return Write(&value, 1); }
    /// count writable bytes at the position, filled by the caller in place;
    /// the position moves past them.
    uint8_t* Reserve(int32_t count);
    /// count readable bytes at the position; the position moves past them.
    const uint8_t* Peek(int32_t count);
    /// Copies count bytes at the position to destination.
    void Read(void* destination, int32_t count);
    /// origin 0: to offset; 1: position + offset; 2: size - offset.
    eStream& Seek(int32_t offset, int origin);

    /// Stores a fixed-size value through Reserve.
    template <class T>
    eStream& Put(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        std::memcpy(Reserve(static_cast<int32_t>(sizeof value)), &value, sizeof value);
        return *this;
    }
    /// Reads a fixed-size value through Peek.
    template <class T>
    T Get() {
        static_assert(std::is_trivially_copyable_v<T>);
        T value;
        std::memcpy(&value, Peek(static_cast<int32_t>(sizeof value)), sizeof value);
        return value;
    }

    int32_t Position() const { return windowBase_ + static_cast<int32_t>(cursor_ - windowBegin_); }
    int32_t Size() const { return size_; }
    uint32_t Flags() const { return flags_; }
    int32_t WindowLength() const { return static_cast<int32_t>(windowEnd_ - windowBegin_); }

protected:
    /// Allocates a window of length bytes at position 0; raises an error when
    /// memory cannot be had.
    void AllocateWindow(int32_t length);
    void FreeWindow();
    /// Raises the error of a stream operation (source io/stream_file).
    [[noreturn]] void Fail(int line, const char* what) const;
    /// Bytes left in the window after the cursor.
    int32_t WindowLeft() const { return static_cast<int32_t>(windowEnd_ - cursor_); }
    void GrowSizeToPosition() {
        if (Position() > size_) size_ = Position();
    }
    /// Makes count bytes fit after the cursor, advancing the window; raises
    /// the error named by what when they cannot.
    virtual void MakeRoom(int32_t count, const char* what);

    int32_t size_ = 0;
    int32_t windowBase_ = 0;
    uint32_t flags_ = 0;
    uint8_t* windowBegin_ = nullptr;
    uint8_t* cursor_ = nullptr;
    uint8_t* windowEnd_ = nullptr;

    friend class eBufferStream;
};

}  // namespace xIo
