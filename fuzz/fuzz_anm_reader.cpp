// Feeds arbitrary bytes to the animation file's structural check and walks
// every record of what it accepts, once learning the vertex layouts from the
// file and once with layouts given for every bone. Then builds a frame table
// from the bytes, with vertex frames for the first bone, writes it through
// the animation file writer and requires the check to accept the result
// with every record in place. Any crash, leak or rejected written file is a
// finding.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string_view>
#include <vector>

#include "animation/anm_reader.h"
#include "animation/anm_writer.h"
#include "geometry/mesh_vertex.h"
#include "io/stream_memory.h"
#include "sim/test_scene.h"

namespace {

using namespace animation;

size_t Walk(const AnmFile& file) {
    size_t touched = 0;
    for (const AnmFrame& frame : file.frames)
        for (const AnmRecord& r : frame.records) {
            touched += file.bones[r.bone].size();
            if (!r.vertices) continue;
            for (const AnmVertexRun& run : r.vertices->runs)
                for (char c : run.vertices) touched += static_cast<unsigned char>(c) & 1;
        }
    return touched;
}

void CheckAndWalk(std::string_view bytes) {
    AnmFile file;
    AnmReadError error;
    if (!ReadAnmFile(bytes, {}, file, error)) {
        if (error.reason.empty() || error.offset > bytes.size()) std::abort();
        return;
    }
    Walk(file);
    if (bytes.empty()) return;
    AnmReadOptions given;
    for (const std::string& bone : file.bones)
        given.layouts[bone] = {12u + 4u * (static_cast<uint8_t>(bytes[0]) % 8u), static_cast<uint8_t>(bytes.back())};
    if (ReadAnmFile(bytes, given, file, error)) Walk(file);
}

// A little-endian float from bytes, or 0 for one that is not finite.
float FiniteFloat(const uint8_t* p) {
    float v;
    std::memcpy(&v, p, 4);
    return std::isfinite(v) ? v : 0.0f;
}

void WriteAndCheck(const uint8_t* data, size_t size) {
    static std::unique_ptr<sim::Scene> scene =
        sim::SceneFromJson(R"("nodes": [{"name": "a"}, {"name": "b"}, {"name": "c"}, {"name": "d"}])");
    if (size < 2) return;
    const int32_t bones = 1 + data[0] % 4, frames = 1 + data[1] % 8;
    std::vector<AnimationSample> samples(static_cast<size_t>(bones * frames));
    const uint8_t* p = data + 2;
    const uint8_t* end = data + size;
    size_t records = 0;
    for (AnimationSample& s : samples) {
        if (end - p < 29) break;
        s.node = scene->GetRootNode()->GetChildNode(static_cast<int>(&s - samples.data()) % bones);
        s.flags = *p++ & 0x1F;
        if ((s.flags & 0x18) == 0x18) s.flags &= ~0x10;
        if (!(s.flags & 0x03)) s.flags &= ~0x04;
        s.position = {FiniteFloat(p), FiniteFloat(p + 4), FiniteFloat(p + 8)};
        s.orientation = host::Quat(FiniteFloat(p + 12), FiniteFloat(p + 16), FiniteFloat(p + 20), FiniteFloat(p + 24));
        // Only what the sampler can produce: a unit quaternion.
        if (!std::isfinite(s.orientation.Length()) || s.orientation.Length() > 1e18f) s.orientation = host::Quat();
        s.orientation.Normalize();
        p += 28;
        records += s.flags != 0;
    }
    // Vertex frames of the first bone: three frames of four vertices whose
    // positions and smoothing come from the bytes; a sample points at one of
    // them when its vertices bit is set.
    std::map<int32_t, BoneVertices> vertices;
    BoneVertices& bone = vertices[0];
    bone.remap = {3, 1, 2, 0};
    bone.vertexSize = static_cast<int32_t>(geometry::VertexSize(geometry::kFormatPosition | geometry::kFormatColour));
    bone.allWhite = (data[1] & 0x80) != 0;
    for (int k = 0; k < 3; ++k) {
        std::vector<geometry::MeshVertex> frame(4);
        for (size_t i = 0; i < frame.size(); ++i) {
            const uint8_t b = data[(2 + 4 * k + i) % size];
            frame[i].position = {float(b & 3), float(b >> 6), 0};
            frame[i].smoothing = (b >> 2) & 1;
            frame[i].format = geometry::kFormatPosition | geometry::kFormatColour;
        }
        bone.frames.push_back({k, std::move(frame)});
    }
    for (int32_t f = 0; f < frames; ++f) {
        AnimationSample& s = samples[static_cast<size_t>(f * bones)];
        if (s.node == nullptr || !(data[(3 + f) % size] & 0x20)) continue;
        s.flags |= kSampleVertices;
        s.vertices = data[(3 + f) % size] % 3;
        records += s.flags == kSampleVertices;
    }
    std::vector<std::string> names = {"a", "b", "c", "d"};
    xIo::eMemoryStream out(256);
    AnimationFrames table(samples.data(), 0, frames - 1, bones);
    WriteAnimation(out, table, names, [](host::Node&) { return true; }, vertices);
    AnmFile file;
    AnmReadError error;
    if (!ReadAnmFile(out.Data(), {}, file, error)) {
        std::fprintf(stderr, "written file rejected: %s at %zu\n", error.reason.c_str(), error.offset);
        std::abort();
    }
    size_t read = 0;
    for (const AnmFrame& frame : file.frames) read += frame.records.size();
    if (read != records) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckAndWalk(std::string_view(reinterpret_cast<const char*>(data), size));
    WriteAndCheck(data, size);
    return 0;
}
