#include "qelinspect/mesh_command.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/cp1251.h"
#include "geometry/mesh_reader.h"
#include "geometry/mesh_vertex.h"
#include "io/sdl_escape.h"

namespace qelinspect {

namespace {

using geometry::DecodedMesh;
using geometry::DecodedSubmesh;
using geometry::DecodedVertex;

// The shortest text that reads back as the same float, so the text form
// shows every bit that differs.
std::string F(float value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string Quoted(const std::string& cp1251) { return "\"" + xIo::xSdl::Escape(Cp1251ToUtf8(cp1251)) + "\""; }

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, value);
    return text;
}

std::string FormatWords(uint32_t format) {
    std::string words;
    auto add = [&](const std::string& word) { words += (words.empty() ? "" : " ") + word; };
    if (format & geometry::kFormatPosition) add("position");
    if (uint32_t w = geometry::WeightCount(format)) add("weights" + std::to_string(w));
    if (format & geometry::kFormatNormal) add("normal");
    if (format & geometry::kFormatColour) add("colour");
    if (format & geometry::kFormatReserved) add("reserved");
    if (uint32_t n = geometry::UvSetCount(format)) add("uv" + std::to_string(n));
    if (format & geometry::kFormatTangent) add("tangent");
    if (format & ~0x7FFu) add("unknown" + Hex(format & ~0x7FFu, 4));
    return words;
}

std::string Point(const host::Point3& p) { return "(" + F(p.x) + " " + F(p.y) + " " + F(p.z) + ")"; }

std::string VertexLine(const DecodedVertex& v) {
    std::string line = "p " + Point(v.position);
    if (v.weightCount > 0) {
        line += " w (";
        for (uint32_t k = 0; k < v.weightCount; ++k) line += (k ? " " : "") + F(v.weights[k]);
        line += ") b (" + std::to_string(v.bones[0]) + " " + std::to_string(v.bones[1]) + " " +
                std::to_string(v.bones[2]) + " " + std::to_string(v.bones[3]) + ")";
    }
    if (v.format & geometry::kFormatNormal) line += " n " + Point(v.normal);
    if (v.format & geometry::kFormatColour) line += " c #" + Hex(v.colour, 8);
    if (v.uvCount > 0) {
        line += " uv";
        for (uint32_t k = 0; k < v.uvCount; ++k) line += " (" + F(v.uv[k].x) + " " + F(v.uv[k].y) + ")";
    }
    if (v.format & geometry::kFormatTangent)
        line += " t (" + F(v.tangent.x) + " " + F(v.tangent.y) + " " + F(v.tangent.z) + " " + F(v.tangent.w) + ")";
    return line;
}

void PrintSubmesh(std::ostringstream& out, size_t index, const DecodedSubmesh& s) {
    out << "  submesh " << index << ": format 0x" << Hex(s.format, 4) << " (" << FormatWords(s.format) << ")"
        << ", triangles " << s.firstTriangle << "+" << s.triangleCount << ", vertices " << s.firstVertex << "+"
        << s.vertexCount << ", flags 0x" << Hex(s.flags, 2);
    if (s.flags & 0x1) out << " two-sided";
    if (s.flags & 0x2) out << " skinned";
    if (s.reserved) out << ", reserved " << unsigned(s.reserved);
    if (s.hasPalette) {
        out << ", palette [";
        for (size_t i = 0; i < s.palette.size(); ++i) out << (i ? " " : "") << unsigned(s.palette[i]);
        out << "]";
    }
    out << ", material " << Quoted(s.material) << "\n";
}

void PrintMesh(std::ostringstream& out, size_t index, const DecodedMesh& m) {
    out << "mesh " << index << " " << Quoted(m.name) << ": offset " << m.offset << ", " << m.size << " bytes\n";
    out << "  bounds " << Point(m.bounds.pmin) << " " << Point(m.bounds.pmax) << "\n";
    if (m.hasSkin) {
        out << "  skin " << m.skinBones.size() << " bones:";
        for (const std::string& bone : m.skinBones) out << " " << Quoted(bone);
        out << "\n";
    }
    for (size_t i = 0; i < m.submeshes.size(); ++i) PrintSubmesh(out, i, m.submeshes[i]);
    out << "  vertices " << m.vertices.size() << " of " << m.vertexSize << " bytes";
    if (m.vertexReserved) out << ", reserved " << m.vertexReserved;
    out << "\n";
    for (size_t i = 0; i < m.vertices.size(); ++i) out << "    " << i << ": " << VertexLine(m.vertices[i]) << "\n";
    out << "  triangles " << m.indices.size() / 3 << "\n";
    for (size_t i = 0; i + 2 < m.indices.size(); i += 3)
        out << "    " << i / 3 << ": " << m.indices[i] << " " << m.indices[i + 1] << " " << m.indices[i + 2] << "\n";
}

nlohmann::json JsonPoint(const host::Point3& p) { return {p.x, p.y, p.z}; }

nlohmann::json JsonVertex(const DecodedVertex& v) {
    nlohmann::json j = {{"position", JsonPoint(v.position)}};
    if (v.weightCount > 0) {
        j["weights"] = std::vector<float>(v.weights, v.weights + v.weightCount);
        j["bones"] = {v.bones[0], v.bones[1], v.bones[2], v.bones[3]};
    }
    if (v.format & geometry::kFormatNormal) j["normal"] = JsonPoint(v.normal);
    if (v.format & geometry::kFormatColour) j["colour"] = v.colour;
    if (v.uvCount > 0) {
        nlohmann::json uv = nlohmann::json::array();
        for (uint32_t k = 0; k < v.uvCount; ++k) uv.push_back({v.uv[k].x, v.uv[k].y});
        j["uv"] = uv;
    }
    if (v.format & geometry::kFormatTangent) j["tangent"] = {v.tangent.x, v.tangent.y, v.tangent.z, v.tangent.w};
    return j;
}

nlohmann::json JsonMesh(const DecodedMesh& m) {
    nlohmann::json j = {{"name", Cp1251ToUtf8(m.name)},
                        {"offset", m.offset},
                        {"size", m.size},
                        {"bounds", {{"min", JsonPoint(m.bounds.pmin)}, {"max", JsonPoint(m.bounds.pmax)}}}};
    if (m.hasSkin) {
        nlohmann::json bones = nlohmann::json::array();
        for (const std::string& bone : m.skinBones) bones.push_back(Cp1251ToUtf8(bone));
        j["skin"] = bones;
    }
    nlohmann::json submeshes = nlohmann::json::array();
    for (const DecodedSubmesh& s : m.submeshes) {
        nlohmann::json js = {{"format", s.format},           {"firstTriangle", s.firstTriangle},
                             {"triangleCount", s.triangleCount}, {"firstVertex", s.firstVertex},
                             {"vertexCount", s.vertexCount},   {"flags", s.flags},
                             {"reserved", s.reserved},         {"material", Cp1251ToUtf8(s.material)}};
        if (s.hasPalette) js["palette"] = s.palette;
        submeshes.push_back(js);
    }
    j["submeshes"] = submeshes;
    j["vertexSize"] = m.vertexSize;
    j["vertexReserved"] = m.vertexReserved;
    nlohmann::json vertices = nlohmann::json::array();
    for (const DecodedVertex& v : m.vertices) vertices.push_back(JsonVertex(v));
    j["vertices"] = vertices;
    j["indices"] = m.indices;
    return j;
}

bool ReadBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return !in.bad();
}

std::string ErrorLine(const geometry::MeshReadError& error) {
    return "offset " + std::to_string(error.offset) + ": " + error.reason;
}

}  // namespace

bool MeshText(std::string_view bytes, std::string& text) {
    geometry::MeshFileContent content;
    geometry::MeshReadError error;
    if (!geometry::ReadMeshFile(bytes, content, error)) {
        text = ErrorLine(error);
        return false;
    }
    std::ostringstream out;
    out << "mesh file: " << content.meshes.size() << " meshes\n";
    for (size_t i = 0; i < content.meshes.size(); ++i) PrintMesh(out, i, content.meshes[i]);
    text = out.str();
    return true;
}

int RunMesh(const MeshOptions& options, std::ostream& out, std::ostream& err) {
    std::string bytes;
    if (!ReadBytes(options.file, bytes)) {
        err << "qelinspect mesh: " << options.file << ": cannot read the file\n";
        return 2;
    }
    if (!options.json) {
        std::string text;
        if (!MeshText(bytes, text)) {
            err << options.file << ": " << text << "\n";
            return 1;
        }
        out << text;
        return 0;
    }
    geometry::MeshFileContent content;
    geometry::MeshReadError error;
    if (!geometry::ReadMeshFile(bytes, content, error)) {
        err << options.file << ": " << ErrorLine(error) << "\n";
        return 1;
    }
    nlohmann::json meshes = nlohmann::json::array();
    for (const DecodedMesh& m : content.meshes) meshes.push_back(JsonMesh(m));
    out << nlohmann::json{{"meshes", meshes}}.dump() << "\n";
    return 0;
}

void AddMeshCommand(CLI::App& app, int& exit_code) {
    auto options = std::make_shared<MeshOptions>();
    CLI::App* command = app.add_subcommand(
        "mesh", "Read a .mesh file, check its structure and print its meshes (exit 1: malformed, 2: unreadable)");
    command->add_option("FILE", options->file, "the mesh file (named \".mesh\" in an export)")->required();
    command->add_flag("--json", options->json, "print one JSON object instead of text");
    command->callback([options, &exit_code] { exit_code = RunMesh(*options, std::cout, std::cerr); });
}

}  // namespace qelinspect
