#include "base/settings.h"

#include <cstring>

namespace xSet {

const eSettingType kInt32Type{"int32"};

namespace {
eStaticList<eIntSetting>& IntSettings() {
    static eStaticList<eIntSetting> list("xSet::eIntSetting");
    return list;
}
}  // namespace

eIntSetting::eIntSetting(const char* name, int32_t default_value)
    : name_(name), type_(&kInt32Type), value_(default_value), default_(default_value) {
    IntSettings().Add(this);
}

eIntSetting* FindInt(const char* name) {
    for (eIntSetting* s = IntSettings().First(); s != nullptr; s = s->next)
        if (std::strcmp(s->Name(), name) == 0) return s;
    return nullptr;
}

}  // namespace xSet
