#include "io/stream_zip.h"

#include <cstring>

namespace xIo {

eZipStream::eZipStream(xRepository::eZipContainer& container, const std::string& entry_name) {
    std::vector<uint8_t> content = container.ReadEntry(entry_name);
    // ReadEntry keeps entries below 2 GiB, so the size fits the stream.
    AllocateWindow(static_cast<int32_t>(content.size()));
    if (!content.empty()) std::memcpy(windowBegin_, content.data(), content.size());
    size_ = static_cast<int32_t>(content.size());
    flags_ = kModeRead;
}

void eZipStream::MakeRoom(int32_t count, const char* what) {
    // The window is the whole entry: what does not fit now never will.
    if (WindowLeft() < count) Fail(__LINE__, what);
}

}  // namespace xIo
