#include "qelinspect/input_file.h"

#include "base/debug.h"
#include "base/format.h"
#include "io/stream_file.h"

namespace qelinspect {

std::string ReadDiskFile(const std::string& path) {
    xIo::eFileStream stream;
    if (!stream.Open(path, xIo::kModeRead, 0)) xDebug::Error("qelinspect", __LINE__, format("%1% - open error!") % path);
    std::string text(static_cast<size_t>(stream.Size()), '\0');
    if (!text.empty()) stream.Read(text.data(), stream.Size());
    return text;
}

}  // namespace qelinspect
