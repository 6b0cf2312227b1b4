// qelimport: an FBX or glTF file turned into a scene file, as qelexport
// imports it, so a pipeline can check what the file carries or add to it.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/debug.h"
#include "import/import_file.h"
#include "sim/scene_writer.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitCannotRun = 2;

constexpr const char* kDescription =
    "qelimport: reads an FBX (.fbx) or glTF 2.0 (.gltf, .glb) file into the simulated host's scene, as\n"
    "qelexport does when it is given such a file, and writes that scene as a scene file (.qscene.json).\n\n"
    "What is carried: the node tree and names, local transforms and node animation (sampled once per\n"
    "frame at 30 frames per second), user property text (FBX: the node's user-defined properties;\n"
    "glTF: extras.props, then every other scalar extras member as a key=value line), triangle meshes\n"
    "with normals, texture coordinates, vertex colours and per-face materials, standard materials with\n"
    "their texture files, skins, cameras and lights. glTF's y-up metres become the host's z-up; FBX's\n"
    "unit scale becomes the master scale. Texture paths relative to the file are written under the host\n"
    "prefix d:/import/, which the scene file serves from the imported file's folder.\n\n"
    "What the file cannot carry is reported as a warning line on standard error.\n\n"
    "Exit codes: 0 written, 2 the file could not be read or imported, or the scene file not written.";

}  // namespace

int main(int argc, char** argv) {
    xDebug::eCrashReport crash_report;
    CLI::App app(kDescription, "qelimport");
    std::string input, output;
    app.add_option("input", input, "the FBX, glTF or glb file to import")->required();
    app.add_option("-o,--output", output, "the scene file to write (default: the input's name with .qscene.json)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return e.get_exit_code() == 0 ? kExitOk : (rc == 0 ? kExitOk : kExitCannotRun);
    }
    if (output.empty()) {
        std::filesystem::path path(input);
        output = (path.parent_path() / path.stem()).string() + ".qscene.json";
    }
    xDebug::eExceptionMode throwing(xDebug::kModeThrow | xDebug::kModeNoLog);
    import::ImportResult result;
    try {
        result = import::ImportFile(input);
    } catch (const import::ImportError& e) {
        std::fprintf(stderr, "qelimport: %s: %s\n", input.c_str(), e.what());
        return kExitCannotRun;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qelimport: %s: cannot be imported: %s\n", input.c_str(), e.what());
        return kExitCannotRun;
    }
    for (const std::string& warning : result.warnings) std::fprintf(stderr, "qelimport: %s: warning: %s\n", input.c_str(), warning.c_str());
    try {
        if (!sim::WriteSceneFile(*result.scene, output)) {
            std::fprintf(stderr, "qelimport: cannot write %s\n", output.c_str());
            return kExitCannotRun;
        }
    } catch (const xDebug::eEx_Custom& e) {
        std::fprintf(stderr, "qelimport: cannot write %s: %s", output.c_str(), e.Text().c_str());
        return kExitCannotRun;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qelimport: cannot write %s: %s\n", output.c_str(), e.what());
        return kExitCannotRun;
    }
    return kExitOk;
}
