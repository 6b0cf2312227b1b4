#pragma once
// Typed, checked reading of the small values of a scene file, held as JSON
// trees. Every check that fails throws LoadError with the value's JSON
// pointer, so the loader states only what it expects.
#include <nlohmann/json.hpp>

#include <initializer_list>
#include <string>
#include <string_view>

#include "host/math_color.h"
#include "host/math_matrix.h"
#include "sim/load_error.h"

namespace sim {

using Json = nlohmann::json;

/// The pointer of key (escaped as RFC 6901 says) or index below parent.
std::string Child(const std::string& parent, std::string_view key);
std::string Child(const std::string& parent, size_t index);

/// A JSON value with its pointer.
class Value {
public:
    Value(const Json& json, std::string pointer) : json_(&json), pointer_(std::move(pointer)) {}

    const Json& json() const { return *json_; }
    const std::string& pointer() const { return pointer_; }
    [[noreturn]] void Fail(const std::string& reason) const { throw LoadError(pointer_, reason); }

    bool IsNull() const { return json_->is_null(); }
    bool IsString() const { return json_->is_string(); }
    bool IsNumber() const { return json_->is_number(); }
    bool IsObject() const { return json_->is_object(); }

    /// Requires an object whose keys are all in allowed (or "extra").
    void ExpectObject(std::initializer_list<std::string_view> allowed) const;
    void ExpectObject() const;
    void ExpectArray() const;
    bool Has(std::string_view key) const;
    /// Member key of an object; it must exist.
    Value operator[](std::string_view key) const;
    /// Element i of an array.
    Value operator[](size_t i) const;
    size_t Size() const;

    bool Bool() const;
    /// A finite number.
    double Number() const;
    /// A finite number within [min, max].
    double Number(double min, double max) const;
    /// A whole number within [min, max].
    int64_t Integer(int64_t min, int64_t max) const;
    /// The raw UTF-8 text.
    const std::string& Utf8() const;
    /// The text converted to code page 1251.
    std::string Text() const;
    /// [x, y, z].
    host::Point3 Point() const;
    /// [r, g, b].
    host::Color Colour() const;
    /// {"matrix": [...]} or {"pos", "rot", "scale"}.
    host::Matrix3 Transform() const;

    // Optional members: the default when key is absent.
    bool OptBool(std::string_view key, bool fallback) const;
    double OptNumber(std::string_view key, double fallback) const;
    double OptNumber(std::string_view key, double fallback, double min, double max) const;
    int64_t OptInteger(std::string_view key, int64_t fallback, int64_t min, int64_t max) const;
    std::string OptText(std::string_view key, const std::string& fallback) const;
    host::Color OptColour(std::string_view key, const host::Color& fallback) const;

private:
    const Json* json_;
    std::string pointer_;
};

/// A frame number written as a key ("10", "2.5") of the object at owner_pointer.
double ParseFrameKey(const std::string& owner_pointer, const std::string& key);
double ParseFrameKey(const Value& owner, const std::string& key);

/// A transform from pos, rot (degrees, about x then y then z) and scale.
host::Matrix3 TrsMatrix(const host::Point3& pos, const host::Point3& rot_deg, const host::Point3& scale);

}  // namespace sim
