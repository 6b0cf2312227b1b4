#include "sim/transform_track.h"

#include <cstdint>

namespace sim {

namespace {

// Where t lies between two key times, 0 at before and 1 at after. Key times
// may be anywhere in the tick range, so their difference is taken in 64 bits.
float Fraction(host::TimeValue before, host::TimeValue t, host::TimeValue after) {
    return float(double(int64_t(t) - before) / double(int64_t(after) - before));
}

}  // namespace

void TransformTrack::SetKey(host::TimeValue t, const host::Matrix3& matrix) {
    if (keys_.size() == 1 && keys_.begin()->second.only) keys_.clear();
    // Decompose into scale × rotation × translation; a mirror goes into the
    // z scale so the rotation stays proper.
    Key key;
    key.exact = matrix;
    key.pos = matrix.GetTrans();
    host::Point3 rows[3];
    for (int i = 0; i < 3; ++i) {
        key.scale[size_t(i)] = matrix.GetRow(i).Length();
        rows[i] = host::Normalize(matrix.GetRow(i));
    }
    if (matrix.Parity()) {
        key.scale.z = -key.scale.z;
        rows[2] = -rows[2];
    }
    key.rot = host::Quat(host::Matrix3(rows[0], rows[1], rows[2], {0, 0, 0}));
    key.rot.Normalize();
    keys_[t] = key;
}

std::vector<std::pair<host::TimeValue, host::Matrix3>> TransformTrack::Keys() const {
    std::vector<std::pair<host::TimeValue, host::Matrix3>> keys;
    for (const auto& [t, key] : keys_) keys.emplace_back(t, key.exact);
    return keys;
}

host::Matrix3 TransformTrack::Eval(host::TimeValue t) const {
    const auto after = keys_.lower_bound(t);
    if (after == keys_.begin()) return after->second.exact;
    if (after == keys_.end()) return std::prev(after)->second.exact;
    if (after->first == t) return after->second.exact;
    const Key& a = std::prev(after)->second;
    const Key& b = after->second;
    const float s = Fraction(std::prev(after)->first, t, after->first);
    const host::Point3 scale = a.scale + (b.scale - a.scale) * s;
    const host::Point3 pos = a.pos + (b.pos - a.pos) * s;
    host::Matrix3 m = host::Matrix3::Scale(scale) * host::Slerp(a.rot, b.rot, s).MakeMatrix();
    m.SetTrans(pos);
    return m;
}

void FloatTrack::SetKey(host::TimeValue t, float value) {
    if (constant_) keys_.clear();
    constant_ = false;
    keys_[t] = value;
}

float FloatTrack::Eval(host::TimeValue t) const {
    const auto after = keys_.lower_bound(t);
    if (after == keys_.begin()) return after->second;
    if (after == keys_.end()) return std::prev(after)->second;
    const auto before = std::prev(after);
    const float s = Fraction(before->first, t, after->first);
    return before->second + (after->second - before->second) * s;
}

}  // namespace sim
