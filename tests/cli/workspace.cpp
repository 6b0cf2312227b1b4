#include "workspace.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace qeltest {

void Workspace::Scene(const std::string& name, const std::string& members) const {
    WriteFile(dir_ / name, R"({"format": "qel-scene", "version": 1, )" + members + "}");
}

pid_t Workspace::Start(const Strings& args, const std::string& tag, const Environment& env,
                       const std::string& program) const {
    std::string out_file = OutputFile(".stdout", tag), err_file = OutputFile(".stderr", tag);
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir_.path().c_str()) != 0) _exit(126);
        alarm(120);  // a run that hangs ends with SIGALRM instead of holding up the suite
        setenv("XDG_CONFIG_HOME", (dir_ / "xdg").c_str(), 1);
        for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
        int out = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

Outcome Workspace::Finish(pid_t pid, const std::string& tag) const {
    std::string out_file = OutputFile(".stdout", tag), err_file = OutputFile(".stderr", tag);
    Outcome o;
    int status = 0;
    waitpid(pid, &status, 0);
    o.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    o.out = ReadFile(out_file);
    o.err = ReadFile(err_file);
    std::filesystem::remove(out_file);
    std::filesystem::remove(err_file);
    return o;
}

}  // namespace qeltest
