#include "command_line.h"

#include <CLI/CLI.hpp>

#include "material_plugin.h"

namespace {

constexpr const char* kDescription =
    "qelexport: runs one export of a scene file (.qscene.json) through the simulated host and writes\n"
    "the game files (model descriptions, entity files, ...) into the game resource tree.\n\n"
    "Host paths are served from folders of this machine through the path map: the scene's own\n"
    "'paths', then every --map. Without a --map entry for the game resource path, that path is\n"
    "served from ./out/, so a bare 'qelexport scene.qscene.json' writes into ./out/.\n\n"
    "An FBX or glTF file (.fbx, .gltf, .glb) is imported first, as qelimport does (see qelimport --help);\n"
    "its own folder is served as the host prefix d:/import/.\n\n"
    "Without --no-prompts the options come from the configuration file and the flags below act as\n"
    "the user's entries in the options dialog, with its rules (an empty path is refused).\n"
    "With --no-prompts every option takes its built-in default.\n\n"
    "Exit codes: 0 the export showed no error, 1 an error was shown (a model or item was skipped),\n"
    "2 the export could not run (bad arguments, unreadable scene, a blocked export),\n"
    "128 + N the export was interrupted by signal N (Ctrl-C, SIGTERM, SIGHUP): the model being\n"
    "written is given up, its previous files stay; a second interrupt ends the run at once.";

// How the material plug-in is found; names the file as the build names it.
std::string MaterialPluginHelp() {
    return std::string("\n\nCorvaneMtl materials are created by the material plug-in library, loaded as the host loads\n"
                       "it: the file given by --material-plugin, else by the environment variable ") +
           kMaterialPluginVariable + ",\nelse " + MaterialPluginFileName() +
           " in qelexport's own folder. A library named by the option or the variable\n"
           "must load. Without the library, a scene with a CorvaneMtl material cannot be loaded.";
}

// The dialog's check boxes, each a flag pair --name / --no-name.
struct Switch {
    const char* name;
    std::optional<bool> CommandLine::*field;
    const char* help;
};
constexpr Switch kSwitches[] = {
    {"mesh", &CommandLine::mesh, "write meshes, model descriptions and materials"},
    {"animation", &CommandLine::animation, "write animations"},
    {"ik", &CommandLine::ik, "write IK joints"},
    {"geometry", &CommandLine::geometry, "export geometry objects"},
    {"lights-cameras", &CommandLine::lightsCameras, "export lights and cameras"},
    {"reverse-animation", &CommandLine::reverseAnimation, "reverse the animations"},
    {"selected-only", &CommandLine::selectedOnly, "animate only selected objects"},
    {"current-range-only", &CommandLine::currentRangeOnly, "only animations inside the scene's frame range"},
};

void AddSwitch(CLI::App& app, const Switch& s, CommandLine& out) {
    std::optional<bool>& target = out.*s.field;
    app.add_flag_callback(std::string("--") + s.name, [&target] { target = true; }, s.help);
    app.add_flag_callback(std::string("--no-") + s.name, [&target] { target = false; }, std::string("turn off: ") + s.help);
}

}  // namespace

int ParseCommandLine(int argc, char** argv, CommandLine& out) {
    CLI::App app(kDescription + MaterialPluginHelp(), "qelexport");
    app.get_formatter()->column_width(40);
    app.add_option("scene", out.scenePath, "the scene file to export (.qscene.json), or an FBX or glTF file (.fbx, .gltf, .glb) imported as qelimport does")->required();

    std::vector<std::string> maps;
    app.add_option("--map", maps, "serve host paths starting with HOSTPREFIX from DIR (repeatable)")
        ->type_name("HOSTPREFIX=DIR");
    app.add_flag("--no-prompts", out.noPrompts, "no options dialog: every option takes its default");
    app.add_flag("--export-selected", out.exportSelected, "the host's export-selected bit");
    app.add_option("--config", out.configPath, "configuration file (default: the per-user configuration folder)");
    app.add_option("--tools-dir", out.toolsDir, "folder with the newest plug-in files for the version check");
    app.add_option("--report", out.reportPath, "write a JSON report of messages, files and models");
    app.add_option("--log", out.logPath, "append the core library's log lines (error reports) to this file");
    app.add_option("--material-plugin", out.materialPluginPath, "the material plug-in library (see above)")->type_name("FILE");

    std::string game, source, in_game;
    auto* game_opt = app.add_option("--game-path", game, "game resource path (a host path)");
    auto* source_opt = app.add_option("--common-texture-source", source, "source folder of the common textures");
    auto* in_game_opt = app.add_option("--common-texture-game-path", in_game, "folder of the common textures in the game");
    for (const Switch& s : kSwitches) AddSwitch(app, s, out);
    int frame = 0;
    auto* frame_opt = app.add_option("--static-frame", frame, "the frame static data is taken at");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    for (const std::string& m : maps) {
        size_t eq = m.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::fprintf(stderr, "qelexport: --map needs HOSTPREFIX=DIR, got \"%s\"\n", m.c_str());
            return 2;
        }
        out.maps.emplace_back(m.substr(0, eq), m.substr(eq + 1));
    }
    if (*game_opt) out.gamePath = game;
    if (*source_opt) out.commonTextureSource = source;
    if (*in_game_opt) out.commonTexturePathInGame = in_game;
    if (*frame_opt) out.staticFrame = frame;
    return -1;
}

std::vector<std::string> DialogFlagsGiven(const CommandLine& cl) {
    std::vector<std::string> flags;
    if (cl.gamePath) flags.push_back("--game-path");
    if (cl.commonTextureSource) flags.push_back("--common-texture-source");
    if (cl.commonTexturePathInGame) flags.push_back("--common-texture-game-path");
    for (const Switch& s : kSwitches)
        if (const std::optional<bool>& value = cl.*s.field) flags.push_back((*value ? "--" : "--no-") + std::string(s.name));
    if (cl.staticFrame) flags.push_back("--static-frame");
    return flags;
}
