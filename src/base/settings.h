#pragma once
// Named settings registered at load (the debug settings of the error channel).
#include <cstdint>

#include "base/intrusive_registrator.h"

namespace xSet {

/// Describes the value type of a setting.
struct eSettingType {
    const char* name;
};
extern const eSettingType kInt32Type;

/// A signed 32-bit setting; a static instance links itself into the list.
class eIntSetting {
public:
    eIntSetting(const char* name, int32_t default_value);
    const char* Name() const { return name_; }
    const eSettingType* Type() const { return type_; }
    int32_t Value() const { return value_; }
    int32_t Default() const { return default_; }
    void Set(int32_t value) { value_ = value; }
    void Reset() { value_ = default_; }

    eIntSetting* next = nullptr;

private:
    const char* name_;
    const eSettingType* type_;
    int32_t value_;
    int32_t default_;
};

/// The setting of that name, or null.
eIntSetting* FindInt(const char* name);

}  // namespace xSet
