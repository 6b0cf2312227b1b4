#include "volumes/evlm_image.h"

#include <cstring>

#include "io/stream_memory.h"

namespace volumes {

namespace {

// Small images are the rule; the buffer grows in the same small steps.
constexpr int32_t kImageStep = 256;

void PutTag(xIo::eStream& out, const char* tag) { out.Write(tag, static_cast<int32_t>(kTagSize)); }

}  // namespace

std::string BuildEvlmImage(const host::TriMesh& mesh, const host::Matrix3& object_offset, float master_scale) {
    xIo::eMemoryStream out(kImageStep, kImageStep);
    const auto vertex_count = static_cast<uint32_t>(mesh.NumVerts());
    const auto face_count = static_cast<uint32_t>(mesh.NumFaces());
    // Each section is reserved whole, so the buffer grows once per section
    // rather than once per step.
    PutTag(out, kEvlmTag);
    PutTag(out, kVertTag);
    out.Put<uint32_t>(vertex_count);
    uint8_t* vertices = out.Reserve(static_cast<int32_t>(vertex_count * 3 * sizeof(float)));
    for (uint32_t i = 0; i < vertex_count; ++i) {
        const host::Point3 p = object_offset * mesh.GetVert(static_cast<int>(i)) * master_scale;
        const float xyz[3] = {p.x, p.y, p.z};
        std::memcpy(vertices + i * sizeof xyz, xyz, sizeof xyz);
    }
    PutTag(out, kIndxTag);
    out.Put<uint32_t>(face_count * 3);
    uint8_t* indices = out.Reserve(static_cast<int32_t>(face_count * 3 * sizeof(uint16_t)));
    for (uint32_t f = 0; f < face_count; ++f) {
        const host::Face& face = mesh.GetFace(static_cast<int>(f));
        const uint16_t reversed[3] = {static_cast<uint16_t>(face.v[2] & 0xFFFFu), static_cast<uint16_t>(face.v[1] & 0xFFFFu),
                                      static_cast<uint16_t>(face.v[0] & 0xFFFFu)};
        std::memcpy(indices + f * sizeof reversed, reversed, sizeof reversed);
    }
    PutTag(out, kSideTag);
    out.Put<uint32_t>(face_count);
    uint8_t* sides = out.Reserve(static_cast<int32_t>(face_count));
    for (uint32_t f = 0; f < face_count; ++f)
        sides[f] = static_cast<uint8_t>((mesh.GetFaceMtlIndex(static_cast<int>(f)) + 1) & 0xFF);
    return std::string(out.Data());
}

std::string HexText(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace volumes
