#include "base/intrusive_registrator.h"

#include "base/debug.h"
#include "base/format.h"

namespace xRegistrator {

namespace {
std::vector<std::string>& Lists() {
    static std::vector<std::string> lists;
    return lists;
}
}  // namespace

void RegisterList(const char* type_name) {
    for (const std::string& name : Lists()) {
        if (name == type_name)
            xDebug::Error("base/intrusive_registrator", 16, format("Multiply static registration list of %1%") % type_name);
    }
    Lists().emplace_back(type_name);
}

const std::vector<std::string>& RegisteredLists() { return Lists(); }

}  // namespace xRegistrator
