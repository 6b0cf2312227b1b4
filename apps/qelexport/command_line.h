#pragma once
// The command line of qelexport: the scene file, the path map, and the
// options dialog's fields as flags.
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct CommandLine {
    std::string scenePath;
    std::vector<std::pair<std::string, std::string>> maps;  ///< host prefix, local folder
    bool noPrompts = false;
    bool exportSelected = false;
    std::string configPath;
    std::string toolsDir;
    std::string reportPath;
    std::string logPath;
    std::string materialPluginPath;  ///< --material-plugin; empty when not given

    // The dialog's fields; unset ones keep what the configuration holds.
    std::optional<std::string> gamePath;
    std::optional<std::string> commonTextureSource;
    std::optional<std::string> commonTexturePathInGame;
    std::optional<bool> mesh, animation, ik, geometry, lightsCameras;
    std::optional<bool> reverseAnimation, selectedOnly, currentRangeOnly;
    std::optional<int> staticFrame;
};

/// Parses the arguments. Returns -1 to go on, or the exit code to end with
/// (0 after --help, 2 after a usage error, which is printed).
int ParseCommandLine(int argc, char** argv, CommandLine& out);

/// The flags given for the options dialog's fields, as they were spelled
/// ("--no-ik"), in the order --help lists them.
std::vector<std::string> DialogFlagsGiven(const CommandLine& cl);
