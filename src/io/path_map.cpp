#include "io/path_map.h"

#include "base/debug.h"
#include "base/format.h"

namespace xIo {

namespace {
PathMapper& Mapper() {
    static PathMapper mapper;
    return mapper;
}
}  // namespace

void SetPathMapper(PathMapper mapper) { Mapper() = std::move(mapper); }

bool TryLocalPath(const std::string& path, std::string& local) {
    if (!Mapper()) {
        local = path;
#ifndef _WIN32
        // Paths are spelled the host's way; a backslash never names a character.
        for (char& c : local)
            if (c == '\\') c = '/';
#endif
        return true;
    }
    std::optional<std::string> mapped = Mapper()(path);
    if (!mapped) return false;
    local = std::move(*mapped);
    return true;
}

std::string LocalPath(const std::string& path) {
    std::string local;
    if (!TryLocalPath(path, local))
        xDebug::Error("io/path_map", __LINE__, format("Host path \"%1%\" has no local folder in the path map") % path);
    return local;
}

}  // namespace xIo
