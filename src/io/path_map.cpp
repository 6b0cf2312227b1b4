#include "io/path_map.h"

#include "base/debug.h"
#include "base/format.h"
#include "io/name.h"

namespace xIo {

namespace {
PathMapper& Mapper() {
    static PathMapper mapper;
    return mapper;
}
}  // namespace

void SetPathMapper(PathMapper mapper) { Mapper() = std::move(mapper); }

bool TryLocalPath(const std::string& path, std::string& local) {
    // Paths are spelled the host's way: a backslash never names a character,
    // and "." and ".." are folded first, so no path reaches past the folder
    // its prefix maps to, nor above its drive.
    std::string folded = path;
    if (!FoldDotSegments(folded)) return false;
    if (!Mapper()) {
        local = std::move(folded);
        return true;
    }
    std::optional<std::string> mapped = Mapper()(folded);
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
