#include "geometry/strip_validation.h"

#include <algorithm>
#include <vector>

namespace geometry {

namespace {

constexpr uint32_t kBucketCount = 100;

Triangle RotatedToSmallest(const Triangle& t) {
    size_t first = t[0] < t[1] ? (t[0] < t[2] ? 0 : 2) : (t[1] < t[2] ? 1 : 2);
    return {t[first], t[(first + 1) % 3], t[(first + 2) % 3]};
}

// Triangles entered into 100 buckets by their smallest index modulo 100.
// Each triangle is rotated to start at its smallest index, which keeps its
// winding, so that a triangle compares equal whichever vertex it was written
// from. Within a bucket the triangles are ordered by their smallest index
// and then by the other two, so two sets of triangles are equal when their
// tables are. Filling takes two passes over the triangles: one to count the
// triangles of each smallest index, one to place them.
class TriangleBuckets {
public:
    template <class ForEachTriangle>
    TriangleBuckets(uint32_t vertex_count, ForEachTriangle&& for_each)
        : rows_per_bucket_(vertex_count / kBucketCount + 1) {
        std::vector<uint32_t> starts(kBucketCount * rows_per_bucket_, 0);
        uint32_t count = 0;
        for_each([&](const Triangle& t) {
            ++starts[Slot(std::min({t[0], t[1], t[2]}))];
            ++count;
        });
        for (uint32_t slot = 0, total = 0; slot < starts.size(); ++slot) {
            uint32_t here = starts[slot];
            starts[slot] = total;
            total += here;
        }
        triangles_.resize(count);
        for_each([&](const Triangle& t) {
            Triangle rotated = RotatedToSmallest(t);
            triangles_[starts[Slot(rotated[0])]++] = rotated;
        });
        // Triangles with the same smallest index are neighbours now.
        for (size_t begin = 0, end = 0; begin < triangles_.size(); begin = end) {
            end = begin + 1;
            while (end < triangles_.size() && triangles_[end][0] == triangles_[begin][0]) ++end;
            if (end - begin > 1) std::sort(triangles_.begin() + begin, triangles_.begin() + end);
        }
    }

    bool operator==(const TriangleBuckets& other) const { return triangles_ == other.triangles_; }

private:
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
    const uint16_t* restart = options.primitive_restart ? &options.restart_value : nullptr;
    for (const PrimitiveGroup& group : groups) {
        if (group.type != PrimitiveType::List) continue;
        if (group.indices.size() % 3 != 0) return false;
    }
    bool foreign_or_degenerate = false;
    auto drawn_triangles = [&](auto&& visit) {
        for (const PrimitiveGroup& group : groups) {
            ForEachTriangle(group, group.type == PrimitiveType::Strip ? restart : nullptr, [&](const Triangle& t) {
                if (IsDegenerate(t) || std::max({t[0], t[1], t[2]}) >= vertex_count)
                    foreign_or_degenerate = true;
                else
                    visit(t);
            });
        }
    };
    TriangleBuckets drawn(vertex_count, drawn_triangles);
    if (foreign_or_degenerate) return false;
    TriangleBuckets expected(vertex_count, [&](auto&& visit) {
        for (size_t i = 0; i + 2 < input.size(); i += 3) {
            Triangle t{input[i], input[i + 1], input[i + 2]};
            if (!IsDegenerate(t)) visit(t);
        }
    });
    return drawn == expected;
}

}  // namespace geometry
