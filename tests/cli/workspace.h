#pragma once
// The qelexport command as a user runs it: a child process in a temporary
// working directory, judged by its exit code, its standard output and error
// and the files it wrote.
#include <sys/types.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace qeltest {

using Strings = std::vector<std::string>;

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

    /// Starts qelexport with args; several runs at once need different tags,
    /// which name the files that keep their output.
    pid_t Start(const Strings& args, const std::string& tag = "") const;
    /// Waits for the run Start began and collects its outcome.
    Outcome Finish(pid_t pid, const std::string& tag = "") const;
    Outcome Run(const Strings& args) const { return Finish(Start(args)); }

    /// Every regular file under the working directory, relative and sorted.
    Strings Files() const { return FilesUnder(dir_.path()); }

private:
    std::string OutputFile(const char* stream, const std::string& tag) const { return dir_ / (stream + tag); }
    TempDir dir_;
};

}  // namespace qeltest
