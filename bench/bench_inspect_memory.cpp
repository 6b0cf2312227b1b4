// Peak memory of "qelinspect sdl --json" on generated model descriptions of
// a few sizes. Each run happens in a child process so that its peak resident
// size is its own; the child's address space is capped, so a run that would
// need more than the cap fails instead of starving the machine.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "qelinspect/sdl_command.h"

namespace {

constexpr rlim_t kAddressSpaceCap = rlim_t{6} << 30;

std::string BenchFile(const char* name) { return std::string("/tmp/qelbench-") + std::to_string(getpid()) + name; }

// Bone blocks as the exporter writes them, repeated up to about bytes.
std::string ModelDescription(size_t bytes) {
    std::string text;
    text.reserve(bytes + 256);
    char line[256];
    for (int bone = 0; text.size() < bytes; ++bone) {
        std::snprintf(line, sizeof line,
                      "{bone \"bone_%d\" revolute\r\n\t{position 1.25 -3.5 %d}\r\n\t{rotation 0 0.707107 0 0.707107}\r\n"
                      "\t{limits -45 45}\r\n\t{parent \"bone_%d\"}\r\n}\r\n",
                      bone, bone, bone / 2);
        text += line;
    }
    return text;
}

void InspectSdlJsonPeakMemory(benchmark::State& state) {
    const size_t megabytes = static_cast<size_t>(state.range(0));
    std::string name = BenchFile("-inspect.mdl");
    {
        std::ofstream out(name, std::ios::binary);
        out << ModelDescription(megabytes << 20);
    }
    double peak_mb = 0;
    int failed = 0;
    for (auto _ : state) {
        pid_t pid = fork();
        if (pid == 0) {
            rlimit cap{kAddressSpaceCap, kAddressSpaceCap};
            setrlimit(RLIMIT_AS, &cap);
            std::ofstream sink("/dev/null", std::ios::binary);
            std::ostringstream err;
            qelinspect::SdlOptions options;
            options.file = name;
            options.json = true;
            int code = 1;
            try {
                code = qelinspect::RunSdl(options, sink, err);
            } catch (...) {
                code = 3;  // out of memory under the cap
            }
            _exit(code);
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        peak_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes
        failed = !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    unlink(name.c_str());
    state.counters["file_MB"] = static_cast<double>(megabytes);
    state.counters["peak_MB"] = peak_mb;
    state.counters["peak_per_file_size"] = peak_mb / static_cast<double>(megabytes);
    state.counters["failed_under_6GiB_cap"] = failed;
}
BENCHMARK(InspectSdlJsonPeakMemory)->Arg(6)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
