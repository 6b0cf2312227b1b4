#include "geometry/strip_validation.h"

#include <algorithm>
#include <vector>

namespace geometry {

namespace {

constexpr uint32_t kBucketCount = 100;

// Triangles entered into 100 buckets by their smallest index modulo 100.
// Each triangle is rotated to start at its smallest index, which keeps its
// winding, so that a triangle compares equal whichever vertex it was written
// from. Within a bucket the triangles are ordered by their smallest index
// (counting sort) and then by the other two (a sort of the few triangles that
// share a smallest index), so two sets of triangles are equal when their
// arrays are.
class TriangleBuckets {
public:
    TriangleBuckets(uint32_t vertex_count, size_t triangle_count)
        : rows_per_bucket_(vertex_count / kBucketCount + 1) {
        triangles_.reserve(triangle_count);
    }

    void Add(const Triangle& t) { triangles_.push_back(Rotated(t)); }

    // Orders the triangles as described above.
    void Finish() {
        std::vector<uint32_t> first(kBucketCount * rows_per_bucket_ + 1, 0);
        for (const Triangle& t : triangles_) ++first[Slot(t[0]) + 1];
        for (size_t slot = 1; slot < first.size(); ++slot) first[slot] += first[slot - 1];
        std::vector<Triangle> ordered(triangles_.size());
        for (const Triangle& t : triangles_) ordered[first[Slot(t[0])]++] = t;
        triangles_.swap(ordered);
        // Triangles with the same smallest index are neighbours now.
        for (size_t begin = 0, end = 0; begin < triangles_.size(); begin = end) {
            end = begin + 1;
            while (end < triangles_.size() && triangles_[end][0] == triangles_[begin][0]) ++end;
            if (end - begin > 1) std::sort(triangles_.begin() + begin, triangles_.begin() + end);
        }
    }

    bool operator==(const TriangleBuckets& other) const { return triangles_ == other.triangles_; }

private:
    static Triangle Rotated(const Triangle& t) {
        size_t first = t[0] < t[1] ? (t[0] < t[2] ? 0 : 2) : (t[1] < t[2] ? 1 : 2);
        return {t[first], t[(first + 1) % 3], t[(first + 2) % 3]};
    }
    // The place of a smallest index: its bucket, then its row in the bucket.
    uint32_t Slot(uint16_t smallest) const {
        return smallest % kBucketCount * rows_per_bucket_ + smallest / kBucketCount;
    }

    uint32_t rows_per_bucket_;
    std::vector<Triangle> triangles_;
};

uint32_t VertexCount(std::span<const uint16_t> input) {
    uint32_t count = 0;
    for (uint16_t index : input) count = std::max<uint32_t>(count, index + 1u);
    return count;
}

}  // namespace

bool ValidateGroups(std::span<const uint16_t> input, std::span<const PrimitiveGroup> groups,
                    const StripOptions& options) {
    const uint32_t vertex_count = VertexCount(input);
    TriangleBuckets expected(vertex_count, input.size() / 3);
    for (size_t i = 0; i + 2 < input.size(); i += 3) {
        Triangle t{input[i], input[i + 1], input[i + 2]};
        if (!IsDegenerate(t)) expected.Add(t);
    }
    TriangleBuckets drawn(vertex_count, input.size() / 3);
    const uint16_t* restart = options.primitive_restart ? &options.restart_value : nullptr;
    bool foreign_or_degenerate = false;
    for (const PrimitiveGroup& group : groups) {
        if (group.type == PrimitiveType::List && group.indices.size() % 3 != 0) return false;
        ForEachTriangle(group, group.type == PrimitiveType::Strip ? restart : nullptr, [&](const Triangle& t) {
            if (IsDegenerate(t) || std::max({t[0], t[1], t[2]}) >= vertex_count)
                foreign_or_degenerate = true;
            else
                drawn.Add(t);
        });
    }
    if (foreign_or_degenerate) return false;
    expected.Finish();
    drawn.Finish();
    return drawn == expected;
}

}  // namespace geometry
