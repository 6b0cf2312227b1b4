#include "qelinspect/evlm_command.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

#include "base/cp1251.h"
#include "base/debug.h"
#include "base/format.h"
#include "io/file_system.h"
#include "io/sdl_escape.h"
#include "io/sdl_reader.h"
#include "qelinspect/input_file.h"
#include "volumes/evlm_reader.h"

namespace qelinspect {

namespace {

using namespace xIo::xSdl;

// One polyhedron block of a model description: the name of the block around
// it (the volume) and its image text.
struct Polyhedron {
    std::string volume;
    std::string hex;
};

// Every {polyhedron "..."} block of the text, in file order. False, with the
// reason in error, for a polyhedron block without its image string.
bool FindPolyhedra(eReader& reader, std::vector<Polyhedron>& found, std::string& error) {
    std::vector<std::string> names;  // per open block: its string name, if any
    bool block_head = false;         // the token before was a block start
    // Next, not AtEnd, ends the loop: only Next reports a block left open.
    for (;;) {
        const eToken token = reader.Next();
        if (token.type == kTokenEnd) break;
        const bool head = block_head;
        block_head = false;
        if (token.type == kTokenBegin) {
            names.emplace_back();
            block_head = true;
        } else if (token.type == kTokenBlockEnd) {
            if (!names.empty()) names.pop_back();
        } else if (head && (token.type == kTokenString || token.type == kTokenStringSingle)) {
            names.back() = token.text;
        } else if (head && token.type == kTokenIdent && token.text == "polyhedron") {
            const std::string volume = names.size() >= 2 ? names[names.size() - 2] : std::string();
            const eToken& image = reader.Peek();
            if (image.type != kTokenString) {
                error = "volume \"" + Cp1251ToUtf8(volume) + "\": the polyhedron block holds no image string";
                return false;
            }
            found.push_back({volume, reader.Next().text});
        }
    }
    return true;
}

nlohmann::json JsonImage(const volumes::EvlmImage& image) {
    nlohmann::json vertices = nlohmann::json::array(), faces = nlohmann::json::array();
    for (const volumes::EvlmVertex& v : image.vertices) vertices.push_back({double(v.x), double(v.y), double(v.z)});
    for (const volumes::EvlmFace& f : image.faces)
        faces.push_back({{"indices", {f.index[0], f.index[1], f.index[2]}}, {"side", f.side}});
    return {{"vertices", vertices}, {"faces", faces}};
}

void TextImage(const volumes::EvlmImage& image, const std::string& indent, std::string& text) {
    text += indent + "EVLM " + std::to_string(image.vertices.size()) + " vertices, " +
            std::to_string(image.faces.size()) + " faces\n";
    for (size_t i = 0; i < image.vertices.size(); ++i) {
        const volumes::EvlmVertex& v = image.vertices[i];
        text += indent + "  vertex " + std::to_string(i) + ": " + ToS(double(v.x));
        text += std::string(" ") + ToS(double(v.y));
        text += std::string(" ") + ToS(double(v.z)) + "\n";
    }
    for (size_t i = 0; i < image.faces.size(); ++i) {
        const volumes::EvlmFace& f = image.faces[i];
        text += indent + "  face " + std::to_string(i) + ": " + std::to_string(f.index[0]) + " " +
                std::to_string(f.index[1]) + " " + std::to_string(f.index[2]) + " side " + std::to_string(f.side) +
                "\n";
    }
}

// Decodes one image's text; false with the reason in error.
bool Decode(const std::string& hex, volumes::EvlmImage& image, std::string& error) {
    std::string bytes;
    return volumes::HexToBytes(hex, bytes, error) && volumes::ReadEvlmImage(bytes, image, error);
}

bool EndsWithMdl(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    xIo::NormalizePath(tail);
    return tail == ".mdl";
}

int RunHex(const EvlmOptions& options, std::ostream& out, std::ostream& err) {
    volumes::EvlmImage image;
    std::string error;
    if (!Decode(options.input, image, error)) {
        err << "qelinspect evlm: " << error << "\n";
        return 1;
    }
    std::string text;
    if (options.json) text = JsonImage(image).dump() + "\n";
    else TextImage(image, "", text);
    out << text;
    return 0;
}

int RunModel(const EvlmOptions& options, std::ostream& out, std::ostream& err) {
    std::vector<Polyhedron> polyhedra;
    std::string error;
    {
        xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
        try {
            eReader reader;
            reader.OpenText(options.input, ReadDiskFile(options.input));
            if (!FindPolyhedra(reader, polyhedra, error)) {
                err << "qelinspect evlm: " << error << "\n";
                return 1;
            }
        } catch (const xDebug::eEx_Custom& e) {
            err << e.Text();
            return 1;
        }
    }
    nlohmann::json list = nlohmann::json::array();
    std::string text;
    for (const Polyhedron& p : polyhedra) {
        volumes::EvlmImage image;
        const std::string volume = Cp1251ToUtf8(p.volume);
        if (!Decode(p.hex, image, error)) {
            err << "qelinspect evlm: volume \"" << volume << "\": " << error << "\n";
            return 1;
        }
        if (options.json) {
            nlohmann::json entry = JsonImage(image);
            entry["volume"] = volume;
            list.push_back(entry);
        } else {
            text += "volume \"" + xIo::xSdl::Escape(volume) + "\"\n";
            TextImage(image, "  ", text);
        }
    }
    if (options.json) text = nlohmann::json{{"polyhedra", list}}.dump() + "\n";
    out << text;
    return 0;
}

}  // namespace

int RunEvlm(const EvlmOptions& options, std::ostream& out, std::ostream& err) {
    if (xIo::FileExists(options.input)) return RunModel(options, out, err);
    if (EndsWithMdl(options.input)) {
        err << "qelinspect evlm: cannot read " << options.input << "\n";
        return 2;
    }
    return RunHex(options, out, err);
}

void AddEvlmCommand(CLI::App& app, int& exit_code) {
    auto options = std::make_shared<EvlmOptions>();
    CLI::App* command = app.add_subcommand(
        "evlm", "Decode the EVLM image of a polyhedron volume: its hexadecimal text, or every polyhedron of a .mdl file");
    command->add_option("INPUT", options->input, "the image as lower-case hexadecimal text, or a model description (.mdl)")
        ->required();
    command->add_flag("--json", options->json, "print one JSON object instead of text");
    command->footer(
        "Prints the vertices (x y z, metres) and the faces (three vertex indices as stored, and the side byte). "
        "Exit codes: 0 well formed; 1 a malformed image or model description, with the reason and its byte offset "
        "on standard error; 2 bad arguments or an unreadable file.");
    command->callback([options, &exit_code] { exit_code = RunEvlm(*options, std::cout, std::cerr); });
}

}  // namespace qelinspect
