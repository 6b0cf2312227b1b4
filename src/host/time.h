#pragma once
// Time as the host counts it: integer ticks, 4800 per second; the scene says
// how many ticks make a frame. Intervals are closed ranges of ticks.
#include <algorithm>
#include <cstdint>
#include <limits>

namespace host {

using TimeValue = int32_t;  ///< ticks

constexpr TimeValue kTicksPerSecond = 4800;
constexpr TimeValue kTimeNegInfinity = std::numeric_limits<int32_t>::min();
constexpr TimeValue kTimePosInfinity = std::numeric_limits<int32_t>::max();

class Interval {
public:
    /// The empty interval ("never").
    Interval() = default;
    Interval(TimeValue start, TimeValue end) : start_(start), end_(end) {}

    static Interval Forever() { return {kTimeNegInfinity, kTimePosInfinity}; }
    static Interval Never() { return {}; }

    TimeValue Start() const { return start_; }
    TimeValue End() const { return end_; }
    void Set(TimeValue start, TimeValue end) { start_ = start; end_ = end; }
    void SetInfinite() { *this = Forever(); }
    void SetEmpty() { *this = Never(); }
    /// True for "never" and for any interval whose end lies before its start.
    bool Empty() const { return (start_ == kTimeNegInfinity && end_ == kTimeNegInfinity) || end_ < start_; }
    bool InInterval(TimeValue t) const { return !Empty() && t >= start_ && t <= end_; }
    /// The intersection; disjoint intervals give "never".
    Interval& operator&=(const Interval& other) {
        if (Empty() || other.Empty()) return *this = Never();
        const TimeValue start = std::max(start_, other.start_);
        const TimeValue end = std::min(end_, other.end_);
        return *this = end < start ? Never() : Interval(start, end);
    }
    bool operator==(const Interval& other) const { return start_ == other.start_ && end_ == other.end_; }

private:
    TimeValue start_ = kTimeNegInfinity;
    TimeValue end_ = kTimeNegInfinity;
};

}  // namespace host
