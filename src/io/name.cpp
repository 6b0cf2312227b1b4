#include "io/name.h"

#include "base/debug.h"
#include "base/format.h"

namespace xIo {

std::string GetPart(const std::string& path, ePart part) {
    size_t slash = path.rfind('/');
    size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    size_t point = path.rfind('.');
    if (point != std::string::npos && point < name_start) point = std::string::npos;
    switch (part) {
        case ePart::Directory: return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        case ePart::Stem:
            return point == std::string::npos ? path.substr(name_start) : path.substr(name_start, point - name_start);
        case ePart::Extension: return point == std::string::npos ? std::string() : path.substr(point);
        case ePart::WithoutExtension: return point == std::string::npos ? path : path.substr(0, point);
        case ePart::FileName: return path.substr(name_start);
    }
    return std::string();
}

bool TrimRoot(const std::string& root, std::string& path) {
    if (path.compare(0, root.size(), root) == 0) {
        path.erase(0, root.size());
        return true;
    }
    xDebug::Warning("io/name", __LINE__, format("Cannot trim root \"%1%\" from path \"%2%\"") % root % path);
    return false;
}

std::string TrimmedRoot(const std::string& root, const std::string& path) {
    std::string copy = path;
    TrimRoot(root, copy);
    return copy;
}

}  // namespace xIo
