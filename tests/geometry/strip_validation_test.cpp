#include "geometry/strip_validation.h"

#include <gtest/gtest.h>

namespace {

using geometry::PrimitiveGroup;
using geometry::PrimitiveType;
using geometry::StripOptions;
using geometry::Triangle;
using geometry::ValidateGroups;

const std::vector<uint16_t> kInput{0, 1, 2, 2, 1, 3, 2, 3, 4, 5, 5, 6, 105, 6, 7};

PrimitiveGroup List(std::vector<uint16_t> indices) { return {PrimitiveType::List, std::move(indices)}; }
PrimitiveGroup Strip(std::vector<uint16_t> indices) { return {PrimitiveType::Strip, std::move(indices)}; }

TEST(ValidateGroups, AcceptsTheTrianglesInAnyOrderAndRotation) {
    StripOptions options;
    EXPECT_TRUE(ValidateGroups(kInput, std::vector{List({6, 7, 105, 1, 3, 2, 0, 1, 2, 2, 3, 4})}, options));
    // The same as a strip 0 1 2 3 4 (2-1-3 drawn as 1 2 3 swapped) and a list.
    EXPECT_TRUE(ValidateGroups(kInput, std::vector{Strip({0, 1, 2, 3, 4}), List({105, 6, 7})}, options));
    // Degenerate input only: nothing to draw.
    EXPECT_TRUE(ValidateGroups(std::vector<uint16_t>{3, 3, 4}, {}, options));
}

TEST(ValidateGroups, RejectsAnyResultThatIsNotTheInputsTriangles) {
    StripOptions options;
    const struct {
        const char* what;
        std::vector<PrimitiveGroup> groups;
    } cases[] = {
        {"a triangle lost", {List({0, 1, 2, 2, 1, 3, 2, 3, 4})}},
        {"a triangle twice", {List({0, 1, 2, 2, 1, 3, 2, 3, 4, 105, 6, 7, 0, 1, 2})}},
        {"a triangle turned over", {List({0, 2, 1, 2, 1, 3, 2, 3, 4, 105, 6, 7})}},
        {"a foreign triangle", {List({0, 1, 2, 2, 1, 3, 2, 3, 4, 105, 6, 8})}},
        {"a degenerate triangle in a list", {List({0, 1, 2, 2, 1, 3, 2, 3, 4, 105, 6, 7, 5, 5, 6})}},
        {"a list cut short", {List({0, 1, 2, 2, 1, 3, 2, 3, 4, 105, 6, 7, 0})}},
        {"a strip of the wrong parity", {Strip({1, 0, 2, 3, 4}), List({105, 6, 7})}},
        {"nothing", {}},
    };
    for (const auto& c : cases) EXPECT_FALSE(ValidateGroups(kInput, c.groups, options)) << c.what;
}

TEST(ForEachTriangle, StripsAlternateWindingSkipDegenerateJoinsAndRestart) {
    auto drawn = [](const PrimitiveGroup& group, const uint16_t* restart) {
        std::vector<Triangle> triangles;
        geometry::ForEachTriangle(group, restart, [&](const Triangle& t) { triangles.push_back(t); });
        return triangles;
    };
    // Two strips joined by repeating 3 and 7; after a strip of odd length 7
    // is repeated once more, so that 7 8 9 starts at an even position.
    EXPECT_EQ(drawn(Strip({0, 1, 2, 3, 3, 7, 7, 8, 9}), nullptr),
              (std::vector<Triangle>{{0, 1, 2}, {2, 1, 3}, {7, 8, 9}}));
    EXPECT_EQ(drawn(Strip({0, 1, 2, 2, 7, 7, 7, 8, 9}), nullptr), (std::vector<Triangle>{{0, 1, 2}, {7, 8, 9}}));
    const uint16_t restart = 0xFFFF;
    EXPECT_EQ(drawn(Strip({0, 1, 2, 3, 0xFFFF, 7, 8, 9, 10}), &restart),
              (std::vector<Triangle>{{0, 1, 2}, {2, 1, 3}, {7, 8, 9}, {9, 8, 10}}));
    // Without the restart option the value is an ordinary vertex.
    EXPECT_EQ(drawn(Strip({0, 1, 0xFFFF}), nullptr), (std::vector<Triangle>{{0, 1, 0xFFFF}}));
}

TEST(ValidateGroups, StripsWithRestartIndices) {
    StripOptions options;
    options.primitive_restart = true;
    options.restart_value = 0xFFFF;
    EXPECT_TRUE(ValidateGroups(kInput, std::vector{Strip({0, 1, 2, 3, 4, 0xFFFF, 105, 6, 7})}, options));
    options.primitive_restart = false;
    EXPECT_FALSE(ValidateGroups(kInput, std::vector{Strip({0, 1, 2, 3, 4, 0xFFFF, 105, 6, 7})}, options));
}

}  // namespace
