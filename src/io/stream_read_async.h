#pragma once
// A disk file read ahead asynchronously: while the caller consumes one piece
// of the file the next piece is already being read.
#include <string>

#include "io/stream.h"

namespace xIo::xRepository {

class eFileStreamReadAsync : public eStream {
public:
    /// Reads are made in multiples of this many bytes.
    static constexpr int32_t kPieceSize = 2048;

    eFileStreamReadAsync() = default;
    /// Waits for or cancels the read in flight and closes the file.
    ~eFileStreamReadAsync() override;

    /// Opens name for reading with a window of window_size bytes rounded up to
    /// a multiple of kPieceSize, fills the window and requests the next piece.
    /// False when the file cannot be opened.
    bool Open(const std::string& name, int32_t window_size = 32768);
    void Close();
    bool IsOpen() const { return handle_ >= 0; }

    /// The window at the position: taken from the read in flight when that
    /// read covers it; otherwise (a seek) the read in flight is cancelled,
    /// "Seek : " + name + " (" + position + ")" is logged as an information
    /// line and the window is read anew. Then the following piece is
    /// requested. Raises "%1% - read error!" (io/stream_file) on a failed read.
    void Fill() override;

private:
    void Request(int32_t position);
    /// Waits for the read in flight; returns the bytes it read, or -1.
    int64_t Wait();
    void Cancel();
    /// Makes the completed read buffer the window.
    void SwapInPending();

    std::string name_;
    int handle_ = -1;
    uint8_t* pendingBuffer_ = nullptr;
    void* request_ = nullptr;  // struct aiocb, kept out of the header
    bool pending_ = false;
    bool filledOnce_ = false;
    int32_t pendingPosition_ = 0;
};

}  // namespace xIo::xRepository
