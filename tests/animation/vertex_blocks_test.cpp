// Vertex blocks: the first frame whole with the box over all frames, runs of
// changed vertices after it, the box at the last frame, the flags rewritten
// in place when nothing changed, colour left out of an all-white mesh, and
// the vertex equality the runs are cut by.
#include "animation/vertex_blocks.h"

#include <gtest/gtest.h>

#include <cstring>

#include "animation/anm_reader.h"
#include "animation/anm_writer.h"
#include "geometry/mesh_vertex.h"
#include "io/stream_memory.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace {

using animation::AnimationFrames;
using animation::AnimationSample;
using animation::BoneVertices;
using geometry::MeshVertex;

constexpr uint32_t kFormat = geometry::kFormatPosition | geometry::kFormatNormal | (1u << geometry::kFormatUvShift);

MeshVertex Vertex(float x, float y) {
    MeshVertex v;
    v.position = {x, y, 0};
    v.normal = {0, 0, 1};
    v.uv[0] = {x, y};
    v.smoothing = 1;
    v.format = kFormat;
    return v;
}

// Twelve vertices in a row; frames are made by moving some of them.
std::vector<MeshVertex> Row(std::initializer_list<std::pair<size_t, float>> moved = {}) {
    std::vector<MeshVertex> row;
    for (int i = 0; i < 12; ++i) row.push_back(Vertex(float(i), 0));
    for (auto [i, z] : moved) row[i].position.z = z;
    return row;
}

// One vertex-animated bone over frames 10 to 10 + slots.size() − 1, frame k
// showing the vertices of slot slots[k].
struct Animated {
    Animated(std::vector<std::vector<MeshVertex>> frame_vertices, std::vector<int32_t> slots)
        : scene(sim::SceneFromJson(R"("nodes": [{"name": "cloth"}])")),
          samples(slots.size()),
          frames(samples.data(), 10, 10 + int32_t(slots.size()) - 1, 1) {
        BoneVertices& bone = vertices[0];
        for (size_t i = 0; i < frame_vertices[0].size(); ++i) bone.remap.push_back(uint16_t(i));
        bone.vertexSize = int32_t(geometry::VertexSize(kFormat));
        for (auto& f : frame_vertices) bone.frames.push_back({0, std::move(f)});
        for (size_t k = 0; k < slots.size(); ++k) {
            samples[k].node = qeltest::NodeNamed(*scene, "cloth");
            samples[k].flags = animation::kSampleVertices;
            samples[k].vertices = slots[k];
            samples[k].vertexSize = bone.vertexSize;
        }
    }
    std::string Write() {
        xIo::eMemoryStream out(256);
        animation::WriteAnimation(out, frames, {"cloth"}, [](host::Node&) { return true; }, vertices);
        return std::string(out.Data());
    }
    animation::AnmFile Read(const std::string& bytes) {
        animation::AnmFile file;
        animation::AnmReadError error;
        EXPECT_TRUE(animation::ReadAnmFile(bytes, {}, file, error)) << error.reason << " at " << error.offset;
        return file;
    }

    std::unique_ptr<sim::Scene> scene;
    std::vector<AnimationSample> samples;
    AnimationFrames frames;
    std::map<int32_t, BoneVertices> vertices;
};

struct RunShape {
    uint32_t first;
    uint16_t count;
    bool box;
    bool operator==(const RunShape&) const = default;
};

std::vector<RunShape> Shape(const animation::AnmRecord& r) {
    std::vector<RunShape> shape;
    if (r.vertices)
        for (const animation::AnmVertexRun& run : r.vertices->runs) shape.push_back({run.first, run.count, run.box.has_value()});
    return shape;
}

TEST(VertexBlocks, FirstWholeThenRunsOfChangesThenTheLastWithItsBox) {
    Animated a({Row(), Row({{3, 1}, {4, 1}, {5, 1}, {9, -2}}), Row({{3, 1}, {4, 1}, {5, 1}, {9, -2}, {0, 0.5f}})},
               {0, 1, 1, 2});
    std::string bytes = a.Write();
    animation::AnmFile file = a.Read(bytes);
    ASSERT_EQ(file.frames.size(), 4u);
    EXPECT_EQ(Shape(file.frames[0].records[0]), (std::vector<RunShape>{{0, 12, true}}));
    EXPECT_EQ(Shape(file.frames[1].records[0]), (std::vector<RunShape>{{3, 3, false}, {9, 1, false}}));
    // Nothing changed: the flags were rewritten without the vertices bit and
    // no block follows.
    EXPECT_EQ(file.frames[2].records[0].flags, 0);
    EXPECT_FALSE(file.frames[2].records[0].vertices);
    EXPECT_EQ(Shape(file.frames[3].records[0]), (std::vector<RunShape>{{0, 1, true}}));

    // The first box holds every vertex of every frame, the last one this frame's.
    const host::Box3& all = *file.frames[0].records[0].vertices->runs[0].box;
    EXPECT_EQ(all.pmin, host::Point3(0, 0, -2));
    EXPECT_EQ(all.pmax, host::Point3(11, 0, 1));
    const host::Box3& last = *file.frames[3].records[0].vertices->runs[0].box;
    EXPECT_EQ(last.pmin, host::Point3(0, 0, -2));
    EXPECT_EQ(last.pmax, host::Point3(11, 0, 1));

    // Sizes: runs of 8 + 32 bytes per vertex (+ 24 with a box) and 8 for the terminator.
    EXPECT_EQ(file.frames[0].records[0].vertices->blockSize, 8u + 12 * 32 + 24 + 8);
    EXPECT_EQ(file.frames[1].records[0].vertices->blockSize, 8u + 3 * 32 + 8 + 32 + 8);
    uint32_t stored;
    std::memcpy(&stored, bytes.data() + file.frames[1].records[0].vertices->offset, 4);
    EXPECT_EQ(stored, 152u);
    // The run's vertices are packed as the mesh file packs them.
    const animation::AnmVertexRun& run = file.frames[1].records[0].vertices->runs[1];
    uint8_t packed[32];
    geometry::PackVertex(Row({{9, -2}})[9], 32, packed);
    EXPECT_EQ(run.vertices, std::string_view(reinterpret_cast<const char*>(packed), 32));
}

TEST(VertexBlocks, AllWhiteMeshesArePackedWithoutColour) {
    std::vector<MeshVertex> row = Row(), moved = Row({{1, 1}});
    for (auto* frame : {&row, &moved})
        for (MeshVertex& v : *frame) v.format |= geometry::kFormatColour;
    Animated a({row, moved}, {0, 1});
    a.vertices[0].allWhite = true;
    const std::string bytes = a.Write();  // the runs' vertices point into it
    animation::AnmFile file = a.Read(bytes);
    EXPECT_EQ(file.frames[0].records[0].vertices->vertexSize, 32u);
    uint8_t packed[32];
    MeshVertex plain = moved[1];
    plain.format &= ~geometry::kFormatColour;
    geometry::PackVertex(plain, 32, packed);
    EXPECT_EQ(file.frames[1].records[0].vertices->runs[0].vertices,
              std::string_view(reinterpret_cast<const char*>(packed), 32));
}

TEST(VertexBlocks, AFrameWithoutVerticesBeforeMakesEveryVertexChanged) {
    Animated a({Row(), Row()}, {0, -1, 1});
    a.samples[1].flags = animation::kSampleVisible;
    const std::string bytes = a.Write();
    animation::AnmFile file = a.Read(bytes);
    EXPECT_EQ(Shape(file.frames[2].records[0]), (std::vector<RunShape>{{0, 12, true}}));
}

TEST(VertexEquality, TolerancesAndExactFields) {
    const MeshVertex base = Vertex(1, 2);
    struct Case {
        const char* what;
        void (*change)(MeshVertex&);
        bool same;
    } cases[] = {
        {"position within 0.001", [](MeshVertex& v) { v.position.x += 0.0009f; }, true},
        {"position past 0.001", [](MeshVertex& v) { v.position.x += 0.0011f; }, false},
        {"normal past 0.001", [](MeshVertex& v) { v.normal.z -= 0.0011f; }, false},
        {"texture set 0 within", [](MeshVertex& v) { v.uv[0].y += 0.0009f; }, true},
        {"texture set 1 past", [](MeshVertex& v) { v.uv[1].x += 0.0011f; }, false},
        {"tangent past", [](MeshVertex& v) { v.tangent.w += 0.0011f; }, false},
        {"weight past", [](MeshVertex& v) { v.weights[1] += 0.0011f; }, false},
        {"weight within", [](MeshVertex& v) { v.weights[0] += 0.0009f; }, true},
        {"colour one bit", [](MeshVertex& v) { v.colour ^= 1; }, false},
        {"group", [](MeshVertex& v) { v.group = 1; }, false},
        {"smoothing", [](MeshVertex& v) { v.smoothing = 2; }, false},
        {"bone index", [](MeshVertex& v) { v.boneIndices[2] = 1; }, false},
        {"format", [](MeshVertex& v) { v.format |= geometry::kFormatTangent; }, false},
    };
    for (const Case& c : cases) {
        MeshVertex changed = base;
        c.change(changed);
        EXPECT_EQ(animation::SameVertex(base, changed), c.same) << c.what;
    }
    EXPECT_TRUE(animation::SameVertex(base, base));
    // A vertex of a face without smoothing group never counts as unchanged.
    MeshVertex unsmoothed = base;
    unsmoothed.smoothing = 0;
    EXPECT_FALSE(animation::SameVertex(unsmoothed, unsmoothed));
}

}  // namespace
