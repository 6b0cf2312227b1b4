#include "console.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "base/cp1251.h"

namespace console {

namespace {

std::atomic<int> g_signal{0};

// The first interrupt asks for the host's cancel; the same signal again ends
// the process as the system would.
void OnInterrupt(int signal_number) {
    int none = 0;
    g_signal.compare_exchange_strong(none, signal_number);
    signal(signal_number, SIG_DFL);
}

const char* Severity(host::MessageBoxIcon icon) {
    switch (icon) {
        case host::MessageBoxIcon::kError: return "error";
        case host::MessageBoxIcon::kWarning: return "warning";
        case host::MessageBoxIcon::kInformation: return "information";
        case host::MessageBoxIcon::kNone: break;
    }
    return "message";
}

}  // namespace

void PrintBox(const sim::MessageBoxRecord& box) {
    std::string text = Cp1251ToUtf8(box.text);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    std::string indented;
    for (char c : text) {
        indented += c;
        if (c == '\n') indented += "  ";
    }
    std::fprintf(stderr, "%s: %s: %s\n", Severity(box.icon), Cp1251ToUtf8(box.caption).c_str(), indented.c_str());
    std::fflush(stderr);
}

ProgressBar::ProgressBar() : enabled_(isatty(STDERR_FILENO) != 0) {}

void ProgressBar::Draw(int percent) {
    constexpr int kWidth = 30;
    int filled = percent * kWidth / 100;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.resize(kWidth, ' ');
    std::fprintf(stderr, "\r%s [%s] %3d%%", title_.c_str(), bar.c_str(), percent);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::OnRecord(const sim::ProgressRecord& record) {
    if (!enabled_) return;
    switch (record.kind) {
        case sim::ProgressRecord::kStart:
            title_ = Cp1251ToUtf8(record.title);
            Draw(0);
            break;
        case sim::ProgressRecord::kUpdate: Draw(record.percent < 0 ? 0 : record.percent > 100 ? 100 : record.percent); break;
        case sim::ProgressRecord::kEnd:
            if (drawn_) std::fprintf(stderr, "\r\033[K");
            drawn_ = false;
            break;
        case sim::ProgressRecord::kTitle:
            // The next update draws the bar under its new title.
            if (drawn_) std::fprintf(stderr, "\r\033[K");
            title_ = Cp1251ToUtf8(record.title);
            break;
        case sim::ProgressRecord::kCancelPoll: break;
    }
}

void InstallInterrupt() {
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) signal(signal_number, OnInterrupt);
    // A file-size limit makes the write fail (a write error of that file)
    // instead of ending the process in the middle of it.
    signal(SIGXFSZ, SIG_IGN);
}

bool Interrupted() { return g_signal != 0; }

int InterruptSignal() { return g_signal; }

}  // namespace console
