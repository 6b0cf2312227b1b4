#pragma once
// In-memory streams: the whole content lives in one buffer, which is also the
// window, so every position is reached without moving anything.
#include <string>
#include <string_view>

#include "io/stream.h"

namespace xIo {

/// A stream over a buffer of fixed length that it owns; writing past its end
/// is an error.
class eBufferStream : public eStream {
public:
    /// A read-only stream over a copy of data.
    explicit eBufferStream(std::string_view data);
    void Advance() override;
    /// The bytes written or held so far (size bytes).
    std::string_view Data() const {
        return {reinterpret_cast<const char*>(windowBegin_), static_cast<size_t>(size_)};
    }

protected:
    eBufferStream() = default;
};

/// A growable memory buffer holding the whole content; it grows by a fixed
/// step, never by doubling.
class eMemoryStream : public eBufferStream {
public:
    /// Allocates capacity bytes; the growth step is growth_step when positive,
    /// otherwise the capacity. Modes: write and interactive.
    eMemoryStream(int32_t capacity, int32_t growth_step = 0);

    void Flush() override;
    void WriteFrom(eStream& source, int32_t count) override;
    /// Grows the buffer by the growth step.
    void Advance() override;
    /// Sets the write and interactive modes again.
    void ResetModes() { flags_ |= kModeWrite | kModeInteractive; }
    /// Empties the stream, keeping its buffer.
    void Clear();

    int32_t Capacity() const { return WindowLength(); }
    int32_t GrowthStep() const { return growthStep_; }

protected:
    /// Grows the buffer in whole growth steps until count bytes fit, in one
    /// reallocation.
    void MakeRoom(int32_t count, const char* what) override;

private:
    /// Reallocates the buffer to capacity bytes, keeping content and cursor.
    void Resize(int32_t capacity);

    int32_t growthStep_;
};

}  // namespace xIo
