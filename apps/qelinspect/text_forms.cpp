#include "qelinspect/text_forms.h"

#include <charconv>
#include <cstdio>

#include "base/cp1251.h"
#include "geometry/mesh_vertex.h"
#include "io/sdl_escape.h"

namespace qelinspect {

std::string FloatText(float value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string HexText(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, value);
    return text;
}

// Texts are appended piece by piece: a literal followed by a temporary
// string trips a false overlap warning of the compiler.
std::string QuotedText(const std::string& cp1251) {
    std::string text = "\"";
    text += xIo::xSdl::Escape(Cp1251ToUtf8(cp1251));
    return text += "\"";
}

std::string PointText(const host::Point3& p) {
    std::string text = "(";
    text += FloatText(p.x);
    text += " ";
    text += FloatText(p.y);
    text += " ";
    text += FloatText(p.z);
    return text += ")";
}

nlohmann::json PointJson(const host::Point3& p) { return {p.x, p.y, p.z}; }

std::string VertexText(const geometry::DecodedVertex& v) {
    std::string line = "p ";
    line += PointText(v.position);
    if (v.weightCount > 0) {
        line += " w (";
        for (uint32_t k = 0; k < v.weightCount; ++k) {
            if (k) line += " ";
            line += FloatText(v.weights[k]);
        }
        line += ") b (";
        for (int k = 0; k < 4; ++k) {
            if (k) line += " ";
            line += std::to_string(v.bones[k]);
        }
        line += ")";
    }
    if (v.format & geometry::kFormatNormal) line += " n ", line += PointText(v.normal);
    if (v.format & geometry::kFormatColour) line += " c #", line += HexText(v.colour, 8);
    if (v.uvCount > 0) {
        line += " uv";
        for (uint32_t k = 0; k < v.uvCount; ++k) {
            line += " (";
            line += FloatText(v.uv[k].x);
            line += " ";
            line += FloatText(v.uv[k].y);
            line += ")";
        }
    }
    if (v.format & geometry::kFormatTangent) {
        line += " t (";
        for (float c : {v.tangent.x, v.tangent.y, v.tangent.z}) line += FloatText(c), line += " ";
        line += FloatText(v.tangent.w);
        line += ")";
    }
    return line;
}

nlohmann::json VertexJson(const geometry::DecodedVertex& v) {
    nlohmann::json j = {{"position", PointJson(v.position)}};
    if (v.weightCount > 0) {
        j["weights"] = std::vector<float>(v.weights, v.weights + v.weightCount);
        j["bones"] = {v.bones[0], v.bones[1], v.bones[2], v.bones[3]};
    }
    if (v.format & geometry::kFormatNormal) j["normal"] = PointJson(v.normal);
    if (v.format & geometry::kFormatColour) j["colour"] = v.colour;
    if (v.uvCount > 0) {
        nlohmann::json uv = nlohmann::json::array();
        for (uint32_t k = 0; k < v.uvCount; ++k) uv.push_back({v.uv[k].x, v.uv[k].y});
        j["uv"] = uv;
    }
    if (v.format & geometry::kFormatTangent) j["tangent"] = {v.tangent.x, v.tangent.y, v.tangent.z, v.tangent.w};
    return j;
}

}  // namespace qelinspect
