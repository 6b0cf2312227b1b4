#include "animation/vertex_blocks.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "animation/anm_format.h"
#include "host/math_box.h"

namespace animation {

namespace {

using geometry::MeshVertex;

constexpr float kVertexTolerance = 0.001f;

bool Near(float a, float b) { return std::fabs(a - b) <= kVertexTolerance; }
bool Near(const host::Point2& a, const host::Point2& b) {
    return host::Point3(a.x, a.y, 0).Equals(host::Point3(b.x, b.y, 0), kVertexTolerance);
}

uint32_t BoneWord(const MeshVertex& v) {
    uint32_t word;
    std::memcpy(&word, v.boneIndices, 4);
    return word;
}

float BoneWordAsFloat(const MeshVertex& v) {
    float value;
    std::memcpy(&value, v.boneIndices, 4);
    return value;
}

// The vertices of bone's frame that sample points at, or null.
const std::vector<MeshVertex>* VerticesOf(const BoneVertices& bone, const AnimationSample& sample) {
    if (sample.vertices < 0 || static_cast<size_t>(sample.vertices) >= bone.frames.size()) return nullptr;
    const std::vector<MeshVertex>& vertices = bone.frames[static_cast<size_t>(sample.vertices)].vertices;
    return vertices.empty() ? nullptr : &vertices;
}

// Vertex i of the mesh file in a frame's vertices.
const MeshVertex& FileVertex(const BoneVertices& bone, const std::vector<MeshVertex>& vertices, size_t i) {
    return vertices[bone.remap[i] < vertices.size() ? bone.remap[i] : 0];
}

void IncludeFrame(host::Box3& box, const BoneVertices& bone, const std::vector<MeshVertex>& vertices) {
    for (size_t i = 0; i < bone.remap.size(); ++i) box += FileVertex(bone, vertices, i).position;
}

void PutVertices(xIo::eStream& out, const BoneVertices& bone, const std::vector<MeshVertex>& vertices, size_t first,
                 size_t count) {
    std::vector<uint8_t> packed(static_cast<size_t>(bone.vertexSize));
    for (size_t i = first; i < first + count; ++i) {
        MeshVertex v = FileVertex(bone, vertices, i);
        if (bone.allWhite) v.format &= ~geometry::kFormatColour;
        geometry::PackVertex(v, static_cast<uint32_t>(bone.vertexSize), packed.data());
        out.Write(packed.data(), bone.vertexSize);
    }
}

void PutBox(xIo::eStream& out, const host::Box3& box) {
    for (const host::Point3& p : {box.pmin, box.pmax}) {
        out.Put<float>(p.x);
        out.Put<float>(p.y);
        out.Put<float>(p.z);
    }
}

struct Run {
    size_t first;
    size_t count;
};

// The maximal stretches of vertices of the mesh file that differ between
// two frames; every vertex when there is no frame before.
std::vector<Run> ChangedRuns(const BoneVertices& bone, const std::vector<MeshVertex>& now,
                             const std::vector<MeshVertex>* before) {
    std::vector<Run> runs;
    const size_t n = bone.remap.size();
    for (size_t i = 0; i < n; ++i) {
        bool changed = before == nullptr || !SameVertex(FileVertex(bone, now, i), FileVertex(bone, *before, i));
        if (!changed) continue;
        if (!runs.empty() && runs.back().first + runs.back().count == i) ++runs.back().count;
        else runs.push_back({i, 1});
    }
    return runs;
}

void RewriteFlagsWithoutVertices(xIo::eStream& out, int32_t flags_offset, uint16_t flags) {
    const int32_t end = out.Position();
    out.Seek(flags_offset, 0).Put<uint16_t>(static_cast<uint16_t>(flags & ~kSampleVertices));
    out.Seek(end, 0);
}

}  // namespace

bool SameVertex(const MeshVertex& a, const MeshVertex& b) {
    return std::fabs(a.weights[0] - b.weights[0]) < kVertexTolerance &&
           std::fabs(a.weights[1] - b.weights[1]) < kVertexTolerance &&
           std::fabs(BoneWordAsFloat(a) - BoneWordAsFloat(b)) < kVertexTolerance &&
           a.position.Equals(b.position, kVertexTolerance) && a.normal.Equals(b.normal, kVertexTolerance) &&
           a.colour == b.colour && Near(a.uv[0], b.uv[0]) && Near(a.uv[1], b.uv[1]) &&
           Near(a.tangent.x, b.tangent.x) && Near(a.tangent.y, b.tangent.y) && Near(a.tangent.z, b.tangent.z) &&
           Near(a.tangent.w, b.tangent.w) && a.group == b.group && a.smoothing == b.smoothing && a.smoothing != 0 &&
           BoneWord(a) == BoneWord(b) && a.format == b.format;
}

void WriteVertexBlock(xIo::eStream& out, int32_t flags_offset, const BoneVertices& bone, const AnimationFrames& frames,
                      int32_t frame, int32_t bone_index) {
    const AnimationSample& sample = frames.At(frame, bone_index);
    const std::vector<MeshVertex>* now = VerticesOf(bone, sample);
    const bool first = frame == frames.Start();
    const bool last = frame == frames.End();
    std::vector<Run> runs;
    host::Box3 box;
    if (now != nullptr && !bone.remap.empty()) {
        if (first) {
            runs.push_back({0, bone.remap.size()});
            for (int32_t f = frames.Start(); f <= frames.End(); ++f)
                if (const std::vector<MeshVertex>* v = VerticesOf(bone, frames.At(f, bone_index))) IncludeFrame(box, bone, *v);
        } else {
            runs = ChangedRuns(bone, *now, VerticesOf(bone, frames.At(frame - 1, bone_index)));
            IncludeFrame(box, bone, *now);
        }
    }
    if (runs.empty()) {
        RewriteFlagsWithoutVertices(out, flags_offset, sample.flags);
        return;
    }

    const bool has_box = first || last;
    const int32_t size_offset = out.Position();
    out.Put<uint32_t>(0);
    for (const Run& run : runs) {
        out.Put<uint32_t>(static_cast<uint32_t>(run.first));
        out.Put<uint16_t>(static_cast<uint16_t>(run.count));
        out.Put<uint16_t>(has_box ? 1 : 0);
        PutVertices(out, bone, *now, run.first, run.count);
        if (has_box) PutBox(out, box);
    }
    for (int k = 0; k < anm::kTerminatorSize; ++k) out.PutByte(0);
    const int32_t end = out.Position();
    out.Seek(size_offset, 0).Put<uint32_t>(static_cast<uint32_t>(end - size_offset - 4));
    out.Seek(end, 0);
}

}  // namespace animation
