#include "io/name.h"

#include <cctype>
#include <vector>

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

bool FoldDotSegments(std::string& path) {
    std::string text = path;
    for (char& c : text)
        if (c == '\\') c = '/';
    // The root: a drive ("d:"), a leading slash, both, or none.
    size_t root_size = 0;
    if (text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0]))) root_size = 2;
    if (root_size < text.size() && text[root_size] == '/') ++root_size;
    bool rooted = root_size > 0;

    std::vector<std::string> parts;
    size_t leading_up = 0;  // ".." kept at the front of a relative path
    size_t start = root_size;
    while (start <= text.size()) {
        size_t end = text.find('/', start);
        if (end == std::string::npos) end = text.size();
        std::string part = text.substr(start, end - start);
        bool last = end == text.size();
        if (part == ".") {
            if (last) parts.emplace_back();  // "a/." names the folder a/
        } else if (part == "..") {
            if (parts.size() > leading_up) {
                parts.pop_back();
                if (last) parts.emplace_back();
            } else if (rooted) {
                return false;
            } else {
                parts.push_back("..");
                ++leading_up;
            }
        } else {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string folded;
    folded.reserve(text.size());
    folded.append(text, 0, root_size);
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) folded.push_back('/');
        folded.append(parts[i]);
    }
    // "a/.." is the folder it started in.
    if (folded.empty() && !text.empty()) folded.push_back('.');
    path = std::move(folded);
    return true;
}

}  // namespace xIo
