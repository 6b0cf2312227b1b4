#pragma once
// The qelexport command as a user runs it: a child process in a temporary
// working directory, judged by its exit code, its standard output and error
// and the files it wrote.
#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.h"

namespace qeltest {

using Strings = std::vector<std::string>;
using Environment = std::vector<std::pair<std::string, std::string>>;

struct Outcome {
    int exitCode = -1;  ///< 128 + the signal number when a signal ended it
    std::string out, err;
};

// A working directory with scene files, in which qelexport runs; its
// per-user configuration folder is inside too.
class Workspace {
public:
    void Scene(const std::string& name, const std::string& members) const;
    std::string operator/(const std::string& name) const { return dir_ / name; }

    /// Starts program (default: the built qelexport) with args and, besides
    /// the workspace's own, the environment variables env; several runs at
    /// once need different tags, which name the files that keep their output.
    pid_t Start(const Strings& args, const std::string& tag = "", const Environment& env = {},
                const std::string& program = QELEXPORT_BINARY) const;
    /// Waits for the run Start began and collects its outcome.
    Outcome Finish(pid_t pid, const std::string& tag = "") const;
    Outcome Run(const Strings& args, const Environment& env = {}) const { return Finish(Start(args, "", env)); }
    /// Runs a copy of qelexport at program.
    Outcome RunProgram(const std::string& program, const Strings& args, const Environment& env = {}) const {
        return Finish(Start(args, "", env, program));
    }

    /// Every regular file under the working directory, relative and sorted.
    Strings Files() const { return FilesUnder(dir_.path()); }

private:
    std::string OutputFile(const char* stream, const std::string& tag) const { return dir_ / (stream + tag); }
    TempDir dir_;
};

}  // namespace qeltest
