#include "qelinspect/anm_command.h"

#include <charconv>
#include <cstring>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "animation/model_animation.h"
#include "base/cp1251.h"
#include "io/sdl_escape.h"
#include "qelinspect/file_bytes.h"

namespace qelinspect {

namespace {

using animation::AnmFile;
using animation::AnmRecord;
using animation::AnmVertexBlock;
using animation::AnmVertexRun;

// The shortest text that reads back as the same float, so the text form
// shows every bit that differs.
std::string F(float value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, value);
    return text;
}

std::string Quoted(const std::string& cp1251) { return "\"" + xIo::xSdl::Escape(Cp1251ToUtf8(cp1251)) + "\""; }

std::string Point(const host::Point3& p) { return "(" + F(p.x) + " " + F(p.y) + " " + F(p.z) + ")"; }

std::string FlagWords(uint16_t flags) {
    static const char* const kWords[] = {"position", "orientation", "mirrored", "visible", "hidden", "vertices"};
    std::string words;
    for (int bit = 0; bit < 6; ++bit)
        if (flags & (1u << bit)) words += (words.empty() ? "" : " ") + std::string(kWords[bit]);
    return words.empty() ? "none" : words;
}

host::Point3 VertexPosition(std::string_view packed) {
    float p[3];
    std::memcpy(p, packed.data(), sizeof p);
    return {p[0], p[1], p[2]};
}

// A packed vertex: its position (every format starts with it), then the
// rest of its bytes.
std::string VertexText(std::string_view packed) {
    if (packed.size() < 12) {
        std::string hex;
        for (unsigned char c : packed) hex += Hex(c, 2);
        return "bytes " + hex;
    }
    std::string text = "p " + Point(VertexPosition(packed));
    if (packed.size() > 12) {
        text += " rest ";
        for (unsigned char c : packed.substr(12)) text += Hex(c, 2);
    }
    return text;
}

void PrintBlock(std::ostringstream& out, const AnmVertexBlock& block) {
    out << "    vertex block of " << block.blockSize << " bytes";
    if (block.vertexSize == 0) {
        out << ", vertex size unknown\n";
        return;
    }
    out << ", " << block.vertexSize << " bytes per vertex\n";
    for (const AnmVertexRun& run : block.runs) {
        out << "      run " << run.first << "+" << run.count;
        if (run.box) out << " box " << Point(run.box->pmin) << " " << Point(run.box->pmax);
        out << "\n";
        for (uint32_t k = 0; k < run.count; ++k)
            out << "        " << run.first + k << ": "
                << VertexText(run.vertices.substr(size_t{k} * block.vertexSize, block.vertexSize)) << "\n";
    }
}

void PrintRecord(std::ostringstream& out, const AnmFile& file, const AnmRecord& r) {
    out << "  " << unsigned(r.bone) << " " << Quoted(file.bones[r.bone]) << ": flags 0x" << Hex(r.flags, 4) << " ("
        << FlagWords(r.flags) << ")";
    if (r.position) out << " p " << Point(*r.position);
    if (const auto& q = r.orientation)
        out << " q (" << F(q->x) << " " << F(q->y) << " " << F(q->z) << " " << F(q->w) << ")";
    out << "\n";
    if (r.vertices) PrintBlock(out, *r.vertices);
}

std::string Text(const AnmFile& file) {
    std::ostringstream out;
    out << "version 0x" << Hex(file.version, 8) << "\n";
    out << "frames " << file.frameCount << "\n";
    out << "bones " << file.bones.size() << "\n";
    for (size_t b = 0; b < file.bones.size(); ++b) out << "  " << b << " " << Quoted(file.bones[b]) << "\n";
    for (const animation::AnmFrame& frame : file.frames) {
        out << "frame " << frame.frame << " at " << frame.offset << ": " << frame.records.size() << " records\n";
        for (const AnmRecord& r : frame.records) PrintRecord(out, file, r);
    }
    return out.str();
}

nlohmann::json JsonPoint(const host::Point3& p) { return {p.x, p.y, p.z}; }

nlohmann::json JsonBlock(const AnmVertexBlock& block) {
    nlohmann::json j = {{"offset", block.offset}, {"block_size", block.blockSize}};
    if (block.vertexSize == 0) return j;
    j["vertex_size"] = block.vertexSize;
    nlohmann::json runs = nlohmann::json::array();
    for (const AnmVertexRun& run : block.runs) {
        nlohmann::json r = {{"first", run.first}, {"count", run.count}};
        if (run.box) r["box"] = {JsonPoint(run.box->pmin), JsonPoint(run.box->pmax)};
        nlohmann::json vertices = nlohmann::json::array();
        for (uint32_t k = 0; k < run.count; ++k) {
            std::string_view packed = run.vertices.substr(size_t{k} * block.vertexSize, block.vertexSize);
            nlohmann::json v = {{"bytes", nlohmann::json::binary_t(std::vector<uint8_t>(packed.begin(), packed.end()))}};
            if (packed.size() >= 12) v["position"] = JsonPoint(VertexPosition(packed));
            vertices.push_back(v);
        }
        r["vertices"] = vertices;
        runs.push_back(r);
    }
    j["runs"] = runs;
    return j;
}

nlohmann::json Json(const AnmFile& file) {
    nlohmann::json bones = nlohmann::json::array();
    for (const std::string& name : file.bones) bones.push_back(Cp1251ToUtf8(name));
    nlohmann::json frames = nlohmann::json::array();
    for (const animation::AnmFrame& frame : file.frames) {
        nlohmann::json records = nlohmann::json::array();
        for (const AnmRecord& r : frame.records) {
            nlohmann::json record = {{"offset", r.offset}, {"bone", r.bone}, {"name", Cp1251ToUtf8(file.bones[r.bone])},
                                     {"flags", r.flags}};
            if (r.position) record["position"] = JsonPoint(*r.position);
            if (const auto& q = r.orientation) record["orientation"] = {q->x, q->y, q->z, q->w};
            if (r.vertices) record["vertices"] = JsonBlock(*r.vertices);
            records.push_back(record);
        }
        frames.push_back({{"frame", frame.frame}, {"offset", frame.offset}, {"records", records}});
    }
    return {{"version", file.version}, {"frame_count", file.frameCount}, {"bones", bones}, {"frames", frames}};
}

}  // namespace

bool AnmText(std::string_view bytes, const animation::AnmReadOptions& read_options, std::string& text) {
    AnmFile file;
    animation::AnmReadError error;
    if (!animation::ReadAnmFile(bytes, read_options, file, error)) {
        text = error.reason + " at byte " + std::to_string(error.offset);
        return false;
    }
    text = Text(file);
    return true;
}

int RunAnm(const AnmOptions& options, std::ostream& out, std::ostream& err) {
    std::string bytes;
    if (!ReadFileBytes("anm", options.file, bytes, err)) return 1;
    AnmFile file;
    animation::AnmReadError error;
    if (!animation::ReadAnmFile(bytes, {}, file, error)) {
        err << "qelinspect anm: " << options.file << ": " << error.reason << " at byte " << error.offset << "\n";
        return 1;
    }
    if (options.json) out << Json(file).dump(2) << "\n";
    else out << Text(file);
    return 0;
}

void AddAnmCommand(CLI::App& app, int& exit_code) {
    auto options = std::make_shared<AnmOptions>();
    CLI::App* command = app.add_subcommand(
        "anm", "Check an animation file and print its bone map and every frame's records; exit 1 with the reason on a "
               "malformed file");
    command->add_option("FILE", options->file, "the .anm file")->required();
    command->add_flag("--json", options->json, "print one JSON object instead of text");
    command->callback([options, &exit_code] { exit_code = RunAnm(*options, std::cout, std::cerr); });
}

}  // namespace qelinspect
