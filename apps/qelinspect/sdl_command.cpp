#include "qelinspect/sdl_command.h"

#include <climits>
#include <cstdlib>
#include <charconv>
#include <nlohmann/json.hpp>
#include <iostream>
#include <memory>

#include "base/cp1251.h"
#include "base/debug.h"
#include "base/format.h"
#include "base/log.h"
#include "io/file_system.h"
#include "io/repository.h"
#include "io/sdl_escape.h"
#include "io/sdl_reader.h"
#include "qelinspect/input_file.h"

namespace qelinspect {

namespace {

using namespace xIo::xSdl;
namespace repo = xIo::xRepository;

struct Mount {
    std::string point;
    std::string directory;
};

bool ParseMounts(const std::vector<std::string>& specs, std::vector<Mount>& mounts) {
    for (const std::string& spec : specs) {
        size_t equals = spec.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == spec.size()) return false;
        mounts.push_back({spec.substr(0, equals), spec.substr(equals + 1)});
    }
    return true;
}

std::string RealPath(const std::string& path) {
    char real[PATH_MAX];
    return realpath(path.c_str(), real) ? std::string(real) : path;
}

// The resource name of file when it lies in a mounted directory; empty
// otherwise.
std::string ResourceName(const std::string& file, const std::vector<Mount>& mounts) {
    std::string real_file = RealPath(file);
    for (const Mount& mount : mounts) {
        std::string directory = RealPath(mount.directory) + "/";
        if (real_file.compare(0, directory.size(), directory) != 0) continue;
        std::string point = mount.point;
        if (point.empty() || point.back() != '/') point += '/';
        return point + real_file.substr(directory.size());
    }
    return {};
}

// The number a float token was written as; the text keeps what a float
// value would round away.
double FloatValue(const eToken& token) {
    const char* first = token.text.data();
    if (*first == '+') ++first;
    double value = token.number;
    std::from_chars(first, token.text.data() + token.text.size(), value);
    return value;
}

nlohmann::json JsonToken(const eToken& token) {
    switch (token.type) {
        case kTokenIdent: return {{"type", "ident"}, {"value", token.text}};
        case kTokenString:
        case kTokenStringSingle: return {{"type", "string"}, {"value", Cp1251ToUtf8(token.text)}};
        case kTokenInt: return {{"type", "int"}, {"value", token.integer}};
        case kTokenFloat: return {{"type", "float"}, {"value", FloatValue(token)}};
        case kTokenBegin: return {{"type", "begin"}, {"value", token.text}};
        default: return {{"type", "end"}, {"value", token.text}};
    }
}

// A value as it appears on a line of the tree.
std::string TreeValue(const eToken& token) {
    switch (token.type) {
        case kTokenString:
        case kTokenStringSingle: return "\"" + Escape(Cp1251ToUtf8(token.text)) + "\"";
        case kTokenFloat: return ToS(static_cast<double>(token.number));
        case kTokenInt: return std::to_string(token.integer);
        default: return token.text;
    }
}

// One line per block in the order the blocks open (which is the tree's
// pre-order), so no recursion is needed to print it.
struct TreeLine {
    size_t depth;
    std::string text;
};

void AddToLine(TreeLine& line, const std::string& value) {
    if (!line.text.empty()) line.text += ' ';
    line.text += value;
}

// The block tree into text; printed once the whole input was read.
void PrintTree(eReader& reader, std::string& text) {
    std::vector<TreeLine> lines;
    std::vector<size_t> open;  // indices of the lines of the open blocks
    for (const eToken* token = &reader.Next(); token->type != kTokenEnd; token = &reader.Next()) {
        if (token->type == kTokenBegin) {
            lines.push_back({open.size(), token->text.substr(1)});  // "{#tag" keeps "#tag"
            open.push_back(lines.size() - 1);
        } else if (token->type == kTokenBlockEnd) {
            open.pop_back();
        } else if (open.empty()) {
            lines.push_back({0, TreeValue(*token)});  // a value outside any block
        } else {
            AddToLine(lines[open.back()], TreeValue(*token));
        }
    }
    for (const TreeLine& line : lines) text += std::string(line.depth * 2, ' ') + (line.text.empty() ? "{}" : line.text) + "\n";
}

// The tokens as one JSON array, written to out as they are read: only the
// token at hand and a small output buffer are held, however large the input
// (includes and defines can make it far larger than the file).
void StreamJson(eReader& reader, std::ostream& out) {
    constexpr size_t kFlushAt = 64 * 1024;
    std::string buffer = "[";
    bool first = true;
    for (const eToken* token = &reader.Next(); token->type != kTokenEnd; token = &reader.Next()) {
        if (!first) buffer += ',';
        first = false;
        buffer += JsonToken(*token).dump();
        if (buffer.size() >= kFlushAt) {
            out << buffer;
            buffer.clear();
        }
    }
    out << buffer << "]\n";
}

}  // namespace

int RunSdl(const SdlOptions& options, std::ostream& out, std::ostream& err) {
    std::vector<Mount> mounts;
    if (!ParseMounts(options.mounts, mounts)) {
        err << "qelinspect sdl: --mount takes MOUNTPOINT=DIR\n";
        return 2;
    }
    xLog::SetSink([&err](const std::string& line) { err << line; });
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    eReader::LoadingMods().loaded = {options.mods.begin(), options.mods.end()};
    std::string text;
    int code = 0;
    try {
        for (const Mount& mount : mounts) repo::Mount(mount.point, mount.directory);
        eReader reader;
        std::string resource = ResourceName(options.file, mounts);
        if (!resource.empty()) reader.Open(resource);
        else reader.OpenText(options.file, ReadDiskFile(options.file));
        if (options.json) StreamJson(reader, out);
        else PrintTree(reader, text);
    } catch (const xDebug::eEx_Custom& e) {
        err << e.Text();
        code = 1;
    }
    repo::UnmountAll();
    xLog::SetSink(nullptr);
    out << text;
    return code;
}

void AddSdlCommand(CLI::App& app, int& exit_code) {
    auto options = std::make_shared<SdlOptions>();
    CLI::App* command = app.add_subcommand("sdl", "Read an SDL file (.mdl, .def, .material) and print its blocks");
    command->add_option("FILE", options->file, "the SDL file")->required();
    command->add_option("--mount", options->mounts, "mount a directory or .pak: MOUNTPOINT=DIR (repeatable)");
    command->add_option("--mod", options->mods, "a module that mod blocks find loaded (repeatable)");
    command->add_flag("--json", options->json, "print the tokens as one JSON array");
    command->callback([options, &exit_code] { exit_code = RunSdl(*options, std::cout, std::cerr); });
}

}  // namespace qelinspect
