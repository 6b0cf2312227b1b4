#include "scene/paths.h"

namespace scene {

std::string JoinPath(const std::string& a, const std::string& b) {
    bool a_slash = !a.empty() && a.back() == '/';
    bool b_slash = !b.empty() && b.front() == '/';
    if (a_slash && b_slash) return a + b.substr(1);
    if (!b_slash && !a_slash) return a + "/" + b;
    return a + b;
}

std::string NamePart(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t point = name.rfind('.');
    return point == std::string::npos ? name : name.substr(0, point);
}

std::string ModelBase(const std::string& resource_dir) { return JoinPath(resource_dir, NamePart(resource_dir)); }

bool IsSafeModelPath(const std::string& model) {
    // The files are named by the last component: without a name they would
    // be the hidden files ".mdl" and ".def".
    if (NamePart(model).empty()) return false;
    if (model[0] == '/' || model[0] == '\\') return false;
    if (model.size() > 1 && model[1] == ':') return false;
    return !HasParentComponent(model);
}

bool HasParentComponent(const std::string& path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos) end = path.size();
        if (path.compare(start, end - start, "..") == 0) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace scene
