#pragma once
// One entry of a .pak archive as a read-only stream.
#include <string>

#include "io/stream.h"
#include "io/zip_container.h"

namespace xIo {

/// The whole entry is read (stored entries copied, deflated ones inflated)
/// into one buffer when the stream is created; that buffer is the window, so
/// moving the window has nothing to do.
class eZipStream : public eStream {
public:
    /// Reads entry_name from container; raises the container's errors for a
    /// bad entry (io/stream_zip).
    eZipStream(xRepository::eZipContainer& container, const std::string& entry_name);

    void Advance() override {}
    void Fill() override {}

protected:
    void MakeRoom(int32_t count, const char* what) override;
};

}  // namespace xIo
