#include "base/log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <deque>
#include <memory>

#include "base/debug.h"
#include "base/format.h"
#include "base/global_collector.h"

namespace xLog {

namespace {

struct State {
    Sink sink;
    bool open = false;
    std::deque<std::string> queue;
    std::string fileError;  ///< the first failure of the file sink
};

State& TheState() {
    static State state;
    return state;
}

std::string SystemReason() { return errno != 0 ? std::strerror(errno) : "unknown error"; }

// Information lines raised while nobody ever opens the log would otherwise
// pile up for the life of the process.
constexpr size_t kMaxQueuedLines = 4096;

struct Colour {
    const char* name;
    uint32_t argb;
};
constexpr Colour kColours[] = {
    {"black", 0xFF000000}, {"dblue", 0xFF00007F},    {"dgred", 0xFF7F0000},   {"dgreen", 0xFF007F00},
    {"dcyan", 0xFF007F7F}, {"dmagenta", 0xFF7F007F}, {"dyellow", 0xFF7F7F00}, {"dgray", 0xFF3F3F3F},
    {"gray", 0xFF7F7F7F},  {"blue", 0xFF0000FF},     {"red", 0xFFFF0000},     {"green", 0xFF00FF00},
    {"cyan", 0xFF00FFFF},  {"magenta", 0xFFFF00FF},  {"yellow", 0xFFFFFF00},  {"white", 0xFFFFFFFF},
};

// The log's own modules: "app" opens the log, "app.start" lists the library
// groups. The environment variable names a log file to keep the lines in.
struct Registration {
    Registration() {
        if (const char* path = std::getenv(kLogFileVariable); path && *path) OpenFileSink(path);
        eGlobalCollector::Instance().Register("app", [] { OpenLog(); }, nullptr);
        eGlobalCollector::Instance().Register("app.start", [] { xDebug::LogLibraryGroups(); }, nullptr);
    }
} registration;

}  // namespace

void Write(const std::string& text) {
    State& s = TheState();
    if (s.sink) s.sink(text);
}

void SetSink(Sink sink) { TheState().sink = std::move(sink); }

bool OpenFileSink(const std::string& path, std::string* error) {
    TheState().fileError.clear();
    errno = 0;
    std::shared_ptr<FILE> file(std::fopen(path.c_str(), "ab"), [](FILE* f) {
        if (f) std::fclose(f);
    });
    if (!file) {
        if (error) *error = SystemReason();
        return false;
    }
    SetSink([file](const std::string& text) {
        // Each line is flushed, so a full disk shows at the line it hits.
        errno = 0;
        if ((std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() || std::fflush(file.get()) != 0) &&
            TheState().fileError.empty())
            TheState().fileError = SystemReason();
    });
    return true;
}

std::string FileSinkError() { return TheState().fileError; }

void Information(const std::string& line) {
    State& s = TheState();
    std::string text = "[INFO] " + line + "\n";
    if (s.open) {
        Write(text);
    } else {
        if (s.queue.size() >= kMaxQueuedLines) s.queue.pop_front();
        s.queue.push_back(std::move(text));
    }
}

void OpenLog() {
    State& s = TheState();
    s.open = true;
    while (!s.queue.empty()) {
        Write(s.queue.front());
        s.queue.pop_front();
    }
}

bool IsOpen() { return TheState().open; }

void ResetForTests() {
    TheState().open = false;
    TheState().queue.clear();
}

uint32_t ColourByName(const std::string& name) {
    for (const Colour& c : kColours)
        if (name == c.name) return c.argb;
    return 0;
}

}  // namespace xLog
