#include "geometry/strip_validation.h"

#include <algorithm>
#include <vector>

namespace geometry {

namespace {

constexpr size_t kBucketCount = 100;

// Triangles in buckets, each rotated to start at its smallest index (which
// keeps its winding) and packed into one number, so that equal triangles
// compare equal whatever vertex they were written from.
class TriangleBuckets {
public:
    explicit TriangleBuckets(size_t triangle_count) {
        for (std::vector<uint64_t>& bucket : buckets_) bucket.reserve(triangle_count / kBucketCount + 16);
    }
    void Add(const Triangle& t) {
        size_t first = t[0] < t[1] ? (t[0] < t[2] ? 0 : 2) : (t[1] < t[2] ? 1 : 2);
        uint64_t key = uint64_t(t[first]) << 32 | uint64_t(t[(first + 1) % 3]) << 16 | t[(first + 2) % 3];
        buckets_[t[first] % kBucketCount].push_back(key);
    }
    void Sort() {
        for (std::vector<uint64_t>& bucket : buckets_) std::sort(bucket.begin(), bucket.end());
    }
    bool operator==(const TriangleBuckets& other) const { return buckets_ == other.buckets_; }

private:
    std::array<std::vector<uint64_t>, kBucketCount> buckets_;
};

}  // namespace

bool ValidateGroups(std::span<const uint16_t> input, std::span<const PrimitiveGroup> groups,
                    const StripOptions& options) {
    TriangleBuckets expected(input.size() / 3);
    for (size_t i = 0; i + 2 < input.size(); i += 3) {
        Triangle t{input[i], input[i + 1], input[i + 2]};
        if (!IsDegenerate(t)) expected.Add(t);
    }
    TriangleBuckets drawn(input.size() / 3);
    const uint16_t* restart = options.primitive_restart ? &options.restart_value : nullptr;
    bool degenerate_in_list = false;
    for (const PrimitiveGroup& group : groups) {
        if (group.type == PrimitiveType::List && group.indices.size() % 3 != 0) return false;
        ForEachTriangle(group, group.type == PrimitiveType::Strip ? restart : nullptr, [&](const Triangle& t) {
            if (IsDegenerate(t))
                degenerate_in_list = true;
            else
                drawn.Add(t);
        });
    }
    if (degenerate_in_list) return false;
    expected.Sort();
    drawn.Sort();
    return drawn == expected;
}

}  // namespace geometry
