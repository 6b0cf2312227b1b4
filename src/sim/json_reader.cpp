#include "sim/json_reader.h"

#include <cmath>

#include "base/cp1251.h"

namespace sim {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

const char* TypeName(const Json& json) {
    switch (json.type()) {
        case Json::value_t::null: return "null";
        case Json::value_t::boolean: return "a boolean";
        case Json::value_t::string: return "a string";
        case Json::value_t::array: return "an array";
        case Json::value_t::object: return "an object";
        default: return "a number";
    }
}

}  // namespace

std::string Child(const std::string& parent, std::string_view key) {
    std::string pointer = parent + "/";
    for (char c : key) {
        if (c == '~') pointer += "~0";
        else if (c == '/') pointer += "~1";
        else pointer += c;
    }
    return pointer;
}

std::string Child(const std::string& parent, size_t index) { return parent + "/" + std::to_string(index); }

void Value::ExpectObject() const {
    if (!json_->is_object()) Fail(std::string("expected an object, found ") + TypeName(*json_));
}

void Value::ExpectObject(std::initializer_list<std::string_view> allowed) const {
    ExpectObject();
    for (const auto& item : json_->items()) {
        if (item.key() == "extra") continue;
        bool known = false;
        for (std::string_view key : allowed) known = known || key == item.key();
        if (!known) throw LoadError(Child(pointer_, item.key()), "unknown key");
    }
}

void Value::ExpectArray() const {
    if (!json_->is_array()) Fail(std::string("expected an array, found ") + TypeName(*json_));
}

bool Value::Has(std::string_view key) const { return json_->is_object() && json_->contains(key); }

Value Value::operator[](std::string_view key) const {
    ExpectObject();
    const auto found = json_->find(key);
    if (found == json_->end()) throw LoadError(Child(pointer_, key), "required key is missing");
    return Value(*found, Child(pointer_, key));
}

Value Value::operator[](size_t i) const { return Value((*json_)[i], Child(pointer_, i)); }

size_t Value::Size() const { return json_->size(); }

bool Value::Bool() const {
    if (!json_->is_boolean()) Fail(std::string("expected a boolean, found ") + TypeName(*json_));
    return json_->get<bool>();
}

double Value::Number() const {
    if (!json_->is_number()) Fail(std::string("expected a number, found ") + TypeName(*json_));
    const double value = json_->get<double>();
    if (!std::isfinite(value)) Fail("not a finite number");
    return value;
}

double Value::Number(double min, double max) const {
    const double value = Number();
    if (value < min || value > max) Fail("number out of range [" + Json(min).dump() + ", " + Json(max).dump() + "]");
    return value;
}

int64_t Value::Integer(int64_t min, int64_t max) const {
    const double value = Number();
    if (value != std::floor(value)) Fail("expected a whole number");
    if (value < static_cast<double>(min) || value > static_cast<double>(max))
        Fail("number out of range [" + std::to_string(min) + ", " + std::to_string(max) + "]");
    return static_cast<int64_t>(value);
}

const std::string& Value::Utf8() const {
    if (!json_->is_string()) Fail(std::string("expected a string, found ") + TypeName(*json_));
    return json_->get_ref<const std::string&>();
}

std::string Value::Text() const {
    std::string out;
    if (!Utf8ToCp1251(Utf8(), out)) Fail("text holds a character that code page 1251 cannot hold");
    return out;
}

host::Point3 Value::Point() const {
    ExpectArray();
    if (Size() != 3) Fail("expected 3 numbers");
    return {static_cast<float>((*this)[0].Number(-1e30, 1e30)), static_cast<float>((*this)[1].Number(-1e30, 1e30)),
            static_cast<float>((*this)[2].Number(-1e30, 1e30))};
}

host::Color Value::Colour() const {
    const host::Point3 p = Point();
    return {p.x, p.y, p.z};
}

host::Matrix3 TrsMatrix(const host::Point3& pos, const host::Point3& rot_deg, const host::Point3& scale) {
    using host::Matrix3;
    Matrix3 m = Matrix3::Scale(scale) * Matrix3::RotateX(static_cast<float>(rot_deg.x * kDegToRad)) *
                Matrix3::RotateY(static_cast<float>(rot_deg.y * kDegToRad)) *
                Matrix3::RotateZ(static_cast<float>(rot_deg.z * kDegToRad)) * Matrix3::Translation(pos);
    if (scale == host::Point3(1, 1, 1)) m.SetIdentFlags(m.GetIdentFlags() | host::kScaleIdent);
    if (rot_deg == host::Point3(0, 0, 0)) m.SetIdentFlags(m.GetIdentFlags() | host::kRotIdent);
    if (pos == host::Point3(0, 0, 0)) m.SetIdentFlags(m.GetIdentFlags() | host::kPosIdent);
    return m;
}

host::Matrix3 Value::Transform() const {
    ExpectObject();
    if (Has("matrix")) {
        ExpectObject({"matrix"});
        const Value numbers = (*this)["matrix"];
        numbers.ExpectArray();
        if (numbers.Size() != 12) numbers.Fail("expected 12 numbers");
        host::Point3 rows[4];
        for (size_t i = 0; i < 12; ++i) rows[i / 3][i % 3] = static_cast<float>(numbers[i].Number(-1e30, 1e30));
        host::Matrix3 m(rows[0], rows[1], rows[2], rows[3]);
        if (m.Determinant() == 0.0f) numbers.Fail("the matrix is singular");
        return m;
    }
    ExpectObject({"pos", "rot", "scale"});
    const host::Point3 pos = Has("pos") ? (*this)["pos"].Point() : host::Point3();
    const host::Point3 rot = Has("rot") ? (*this)["rot"].Point() : host::Point3();
    const host::Point3 scale = Has("scale") ? (*this)["scale"].Point() : host::Point3(1, 1, 1);
    if (scale.x == 0 || scale.y == 0 || scale.z == 0) (*this)["scale"].Fail("a scale component is 0");
    return TrsMatrix(pos, rot, scale);
}

bool Value::OptBool(std::string_view key, bool fallback) const { return Has(key) ? (*this)[key].Bool() : fallback; }

double Value::OptNumber(std::string_view key, double fallback) const {
    return Has(key) ? (*this)[key].Number() : fallback;
}

double Value::OptNumber(std::string_view key, double fallback, double min, double max) const {
    return Has(key) ? (*this)[key].Number(min, max) : fallback;
}

int64_t Value::OptInteger(std::string_view key, int64_t fallback, int64_t min, int64_t max) const {
    return Has(key) ? (*this)[key].Integer(min, max) : fallback;
}

std::string Value::OptText(std::string_view key, const std::string& fallback) const {
    return Has(key) ? (*this)[key].Text() : fallback;
}

host::Color Value::OptColour(std::string_view key, const host::Color& fallback) const {
    return Has(key) ? (*this)[key].Colour() : fallback;
}

double ParseFrameKey(const Value& owner, const std::string& key) { return ParseFrameKey(owner.pointer(), key); }

double ParseFrameKey(const std::string& owner_pointer, const std::string& key) {
    const std::string pointer = Child(owner_pointer, key);
    size_t used = 0;
    double frame = 0;
    const bool digits = !key.empty() && (std::isdigit(static_cast<unsigned char>(key[0])) || key[0] == '-');
    try {
        if (digits) frame = std::stod(key, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (!digits || used != key.size() || !std::isfinite(frame)) throw LoadError(pointer, "the key is not a frame number");
    if (std::fabs(frame) > 1e6) throw LoadError(pointer, "frame number out of range [-1000000, 1000000]");
    return frame;
}

}  // namespace sim
