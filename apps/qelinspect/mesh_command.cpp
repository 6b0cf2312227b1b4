#include "qelinspect/mesh_command.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/cp1251.h"
#include "geometry/mesh_reader.h"
#include "qelinspect/file_bytes.h"
#include "geometry/mesh_vertex.h"
#include "io/sdl_escape.h"
#include "qelinspect/text_forms.h"

namespace qelinspect {

namespace {

using geometry::DecodedMesh;
using geometry::DecodedSubmesh;
using geometry::DecodedVertex;

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
    if (format & ~0x7FFu) add("unknown" + HexText(format & ~0x7FFu, 4));
    return words;
}

void PrintSubmesh(std::ostringstream& out, size_t index, const DecodedSubmesh& s) {
    out << "  submesh " << index << ": format 0x" << HexText(s.format, 4) << " (" << FormatWords(s.format) << ")"
        << ", triangles " << s.firstTriangle << "+" << s.triangleCount << ", vertices " << s.firstVertex << "+"
        << s.vertexCount << ", flags 0x" << HexText(s.flags, 2);
    if (s.flags & 0x1) out << " two-sided";
    if (s.flags & 0x2) out << " skinned";
    if (s.reserved) out << ", reserved " << unsigned(s.reserved);
    if (s.hasPalette) {
        out << ", palette [";
        for (size_t i = 0; i < s.palette.size(); ++i) out << (i ? " " : "") << unsigned(s.palette[i]);
        out << "]";
    }
    out << ", material " << QuotedText(s.material) << "\n";
}

void PrintMesh(std::ostringstream& out, size_t index, const DecodedMesh& m) {
    out << "mesh " << index << " " << QuotedText(m.name) << ": offset " << m.offset << ", " << m.size << " bytes\n";
    out << "  bounds " << PointText(m.bounds.pmin) << " " << PointText(m.bounds.pmax) << "\n";
    if (m.hasSkin) {
        out << "  skin " << m.skinBones.size() << " bones:";
        for (const std::string& bone : m.skinBones) out << " " << QuotedText(bone);
        out << "\n";
    }
    for (size_t i = 0; i < m.submeshes.size(); ++i) PrintSubmesh(out, i, m.submeshes[i]);
    out << "  vertices " << m.vertices.size() << " of " << m.vertexSize << " bytes";
    if (m.vertexReserved) out << ", reserved " << m.vertexReserved;
    out << "\n";
    for (size_t i = 0; i < m.vertices.size(); ++i) out << "    " << i << ": " << VertexText(m.vertices[i]) << "\n";
    out << "  triangles " << m.indices.size() / 3 << "\n";
    for (size_t i = 0; i + 2 < m.indices.size(); i += 3)
        out << "    " << i / 3 << ": " << m.indices[i] << " " << m.indices[i + 1] << " " << m.indices[i + 2] << "\n";
}

nlohmann::json JsonMesh(const DecodedMesh& m) {
    nlohmann::json j = {{"name", Cp1251ToUtf8(m.name)},
                        {"offset", m.offset},
                        {"size", m.size},
                        {"bounds", {{"min", PointJson(m.bounds.pmin)}, {"max", PointJson(m.bounds.pmax)}}}};
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
    for (const DecodedVertex& v : m.vertices) vertices.push_back(VertexJson(v));
    j["vertices"] = vertices;
    j["indices"] = m.indices;
    return j;
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
    if (!ReadFileBytes("mesh", options.file, bytes, err)) return 2;
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
