#pragma once
// A node's local transform over time: keys at ticks; between keys position
// and scale are interpolated linearly and rotation spherically; outside them
// the nearest key holds. At a key's own time its matrix is exact.
#include <map>
#include <utility>
#include <vector>

#include "host/math_quat.h"
#include "host/time.h"

namespace sim {

class TransformTrack {
public:
    /// A track that is matrix at every time.
    explicit TransformTrack(const host::Matrix3& matrix = host::Matrix3()) { SetKey(0, matrix); keys_.begin()->second.only = true; }
    /// Adds or replaces the key at t (the first key replaces a constant track).
    void SetKey(host::TimeValue t, const host::Matrix3& matrix);
    host::Matrix3 Eval(host::TimeValue t) const;
    /// True for a track made from one matrix, without keys.
    bool IsConstant() const { return keys_.size() == 1 && keys_.begin()->second.only; }
    /// The keys in time order, each with its exact matrix.
    std::vector<std::pair<host::TimeValue, host::Matrix3>> Keys() const;

private:
    struct Key {
        host::Matrix3 exact;
        host::Point3 pos;
        host::Quat rot;
        host::Point3 scale;
        bool only = false;  // the constant of a track without keys
    };
    std::map<host::TimeValue, Key> keys_;
};

/// A number over time, interpolated linearly, the nearest key outside.
class FloatTrack {
public:
    explicit FloatTrack(float value = 1.0f) { keys_[0] = value; constant_ = true; }
    void SetKey(host::TimeValue t, float value);
    float Eval(host::TimeValue t) const;
    /// True for a track made from one value, without keys.
    bool IsConstant() const { return constant_; }
    const std::map<host::TimeValue, float>& Keys() const { return keys_; }

private:
    std::map<host::TimeValue, float> keys_;
    bool constant_ = false;
};

}  // namespace sim
