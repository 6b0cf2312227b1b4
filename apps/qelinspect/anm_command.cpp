#include "qelinspect/anm_command.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/cp1251.h"
#include "geometry/mesh_reader.h"
#include "geometry/mesh_vertex.h"
#include "qelinspect/file_bytes.h"
#include "qelinspect/text_forms.h"

namespace qelinspect {

namespace {

using animation::AnmFile;
using animation::AnmRecord;
using animation::AnmVertexBlock;
using animation::AnmVertexRun;

// The mesh record that decodes the vertices of one bone, when one is given.
struct MeshDecoding {
    const geometry::DecodedMesh* mesh = nullptr;
    std::string bone;  ///< code page 1251
};

std::string FlagWords(uint16_t flags) {
    static const char* const kWords[] = {"position", "orientation", "mirrored", "visible", "hidden", "vertices"};
    std::string words;
    for (int bit = 0; bit < 6; ++bit)
        if (flags & (1u << bit)) words += (words.empty() ? "" : " ") + std::string(kWords[bit]);
    return words.empty() ? "none" : words;
}

host::Point3 PackedPosition(std::string_view packed) {
    float p[3];
    std::memcpy(p, packed.data(), sizeof p);
    return {p[0], p[1], p[2]};
}

// Vertex index of a bone's run: decoded by the mesh record's format for
// that vertex when the bone is the decoded one; else null.
std::optional<geometry::DecodedVertex> Decoded(const MeshDecoding& decoding, const std::string& bone, uint32_t index,
                                               std::string_view packed) {
    if (decoding.mesh == nullptr || bone != decoding.bone) return std::nullopt;
    const geometry::DecodedSubmesh* owner = geometry::OwnerOf(*decoding.mesh, index);
    if (owner == nullptr || geometry::VertexSize(owner->format) > packed.size()) return std::nullopt;
    return geometry::DecodeVertex(reinterpret_cast<const uint8_t*>(packed.data()), owner->format);
}

// A packed vertex without its format: its position (every format starts
// with it), then the rest of its bytes.
std::string RawVertexText(std::string_view packed) {
    std::string text;
    if (packed.size() >= 12) {
        text = "p " + PointText(PackedPosition(packed));
        packed.remove_prefix(12);
        if (!packed.empty()) text += " rest ";
    } else {
        text = "bytes ";
    }
    for (unsigned char c : packed) text += HexText(c, 2);
    return text;
}

std::string_view PackedVertex(const AnmVertexRun& run, uint32_t k, uint32_t vertex_size) {
    return run.vertices.substr(size_t{k} * vertex_size, vertex_size);
}

void PrintBlock(std::ostringstream& out, const AnmVertexBlock& block, const std::string& bone,
                const MeshDecoding& decoding) {
    out << "    vertex block of " << block.blockSize << " bytes";
    if (block.vertexSize == 0) {
        out << ", vertex size unknown\n";
        return;
    }
    out << ", " << block.vertexSize << " bytes per vertex\n";
    for (const AnmVertexRun& run : block.runs) {
        out << "      run " << run.first << "+" << run.count;
        if (run.box) out << " box " << PointText(run.box->pmin) << " " << PointText(run.box->pmax);
        out << "\n";
        for (uint32_t k = 0; k < run.count; ++k) {
            std::string_view packed = PackedVertex(run, k, block.vertexSize);
            auto decoded = Decoded(decoding, bone, run.first + k, packed);
            out << "        " << run.first + k << ": " << (decoded ? VertexText(*decoded) : RawVertexText(packed))
                << "\n";
        }
    }
}

void PrintRecord(std::ostringstream& out, const AnmFile& file, const AnmRecord& r, const MeshDecoding& decoding) {
    const std::string& bone = file.bones[r.bone];
    out << "  " << unsigned(r.bone) << " " << QuotedText(bone) << ": flags 0x" << HexText(r.flags, 4) << " ("
        << FlagWords(r.flags) << ")";
    if (r.position) out << " p " << PointText(*r.position);
    if (const auto& q = r.orientation)
        out << " q (" << FloatText(q->x) << " " << FloatText(q->y) << " " << FloatText(q->z) << " " << FloatText(q->w)
            << ")";
    out << "\n";
    if (r.vertices) PrintBlock(out, *r.vertices, bone, decoding);
}

std::string Text(const AnmFile& file, const MeshDecoding& decoding) {
    std::ostringstream out;
    out << "version 0x" << HexText(file.version, 8) << "\n";
    out << "frames " << file.frameCount << "\n";
    out << "bones " << file.bones.size() << "\n";
    for (size_t b = 0; b < file.bones.size(); ++b) out << "  " << b << " " << QuotedText(file.bones[b]) << "\n";
    for (const animation::AnmFrame& frame : file.frames) {
        out << "frame " << frame.frame << " at " << frame.offset << ": " << frame.records.size() << " records\n";
        for (const AnmRecord& r : frame.records) PrintRecord(out, file, r, decoding);
    }
    return out.str();
}

nlohmann::json JsonBlock(const AnmVertexBlock& block, const std::string& bone, const MeshDecoding& decoding) {
    nlohmann::json j = {{"offset", block.offset}, {"block_size", block.blockSize}};
    if (block.vertexSize == 0) return j;
    j["vertex_size"] = block.vertexSize;
    nlohmann::json runs = nlohmann::json::array();
    for (const AnmVertexRun& run : block.runs) {
        nlohmann::json r = {{"first", run.first}, {"count", run.count}};
        if (run.box) r["box"] = {PointJson(run.box->pmin), PointJson(run.box->pmax)};
        nlohmann::json vertices = nlohmann::json::array();
        for (uint32_t k = 0; k < run.count; ++k) {
            std::string_view packed = PackedVertex(run, k, block.vertexSize);
            if (auto decoded = Decoded(decoding, bone, run.first + k, packed)) {
                vertices.push_back(VertexJson(*decoded));
                continue;
            }
            nlohmann::json v = {{"bytes", nlohmann::json::binary_t(std::vector<uint8_t>(packed.begin(), packed.end()))}};
            if (packed.size() >= 12) v["position"] = PointJson(PackedPosition(packed));
            vertices.push_back(v);
        }
        r["vertices"] = vertices;
        runs.push_back(r);
    }
    j["runs"] = runs;
    return j;
}

nlohmann::json Json(const AnmFile& file, const MeshDecoding& decoding) {
    nlohmann::json bones = nlohmann::json::array();
    for (const std::string& name : file.bones) bones.push_back(Cp1251ToUtf8(name));
    nlohmann::json frames = nlohmann::json::array();
    for (const animation::AnmFrame& frame : file.frames) {
        nlohmann::json records = nlohmann::json::array();
        for (const AnmRecord& r : frame.records) {
            const std::string& bone = file.bones[r.bone];
            nlohmann::json record = {
                {"offset", r.offset}, {"bone", r.bone}, {"name", Cp1251ToUtf8(bone)}, {"flags", r.flags}};
            if (r.position) record["position"] = PointJson(*r.position);
            if (const auto& q = r.orientation) record["orientation"] = {q->x, q->y, q->z, q->w};
            if (r.vertices) record["vertices"] = JsonBlock(*r.vertices, bone, decoding);
            records.push_back(record);
        }
        frames.push_back({{"frame", frame.frame}, {"offset", frame.offset}, {"records", records}});
    }
    return {{"version", file.version}, {"frame_count", file.frameCount}, {"bones", bones}, {"frames", frames}};
}

// The record named name (UTF-8) of a mesh file into content and decoding;
// false after printing why not.
bool LoadMeshRecord(const AnmOptions& options, geometry::MeshFileContent& content, MeshDecoding& decoding,
                    std::ostream& err) {
    std::string bytes;
    if (!ReadFileBytes("anm", options.meshFile, bytes, err)) return false;
    geometry::MeshReadError error;
    if (!geometry::ReadMeshFile(bytes, content, error)) {
        err << "qelinspect anm: " << options.meshFile << ": " << error.reason << " at byte " << error.offset << "\n";
        return false;
    }
    if (!Utf8ToCp1251(options.meshName, decoding.bone)) decoding.bone = options.meshName;
    for (const geometry::DecodedMesh& m : content.meshes)
        if (m.name == decoding.bone) decoding.mesh = &m;
    if (decoding.mesh == nullptr) {
        err << "qelinspect anm: " << options.meshFile << ": no mesh named " << options.meshName << "\n";
        return false;
    }
    return true;
}

}  // namespace

bool AnmText(std::string_view bytes, const animation::AnmReadOptions& read_options, std::string& text) {
    AnmFile file;
    animation::AnmReadError error;
    if (!animation::ReadAnmFile(bytes, read_options, file, error)) {
        text = error.reason + " at byte " + std::to_string(error.offset);
        return false;
    }
    text = Text(file, {});
    return true;
}

int RunAnm(const AnmOptions& options, std::ostream& out, std::ostream& err) {
    geometry::MeshFileContent mesh_file;
    MeshDecoding decoding;
    animation::AnmReadOptions read_options;
    if (!options.meshFile.empty()) {
        if (!LoadMeshRecord(options, mesh_file, decoding, err)) return 2;
        read_options.layouts[decoding.bone] = {decoding.mesh->vertexSize,
                                               static_cast<uint32_t>(decoding.mesh->vertices.size())};
    }
    std::string bytes;
    if (!ReadFileBytes("anm", options.file, bytes, err)) return 2;
    AnmFile file;
    animation::AnmReadError error;
    if (!animation::ReadAnmFile(bytes, read_options, file, error)) {
        err << "qelinspect anm: " << options.file << ": " << error.reason << " at byte " << error.offset << "\n";
        return 1;
    }
    if (decoding.mesh != nullptr && std::find(file.bones.begin(), file.bones.end(), decoding.bone) == file.bones.end()) {
        err << "qelinspect anm: " << options.file << ": no bone named " << options.meshName << " in the bone map\n";
        return 2;
    }
    if (options.json) out << Json(file, decoding).dump(2) << "\n";
    else out << Text(file, decoding);
    return 0;
}

void AddAnmCommand(CLI::App& app, int& exit_code) {
    auto options = std::make_shared<AnmOptions>();
    CLI::App* command = app.add_subcommand(
        "anm", "Check an animation file and print its bone map and every frame's records; exit 1 with the reason on a "
               "malformed file");
    command->add_option("FILE", options->file, "the .anm file")->required();
    command->add_flag("--json", options->json, "print one JSON object instead of text");
    CLI::Option* mesh = command->add_option(
        "--mesh", options->meshFile,
        "the .mesh file of the model's directory: its record --name decodes the vertices of the bone of that name");
    CLI::Option* name = command->add_option("--name", options->meshName, "the mesh record (and bone) to decode");
    mesh->needs(name);
    name->needs(mesh);
    command->callback([options, &exit_code] { exit_code = RunAnm(*options, std::cout, std::cerr); });
}

}  // namespace qelinspect
