#pragma once
// What the artist sees on the terminal: message boxes as UTF-8 lines on
// standard error, a progress bar when standard error is a terminal, and
// Ctrl-C (and SIGTERM, SIGHUP) turned into the host's cancel.
#include <string>

#include "sim/recorder.h"

namespace console {

/// Prints a message box: "error: <caption>: <text>", continuation lines indented.
void PrintBox(const sim::MessageBoxRecord& box);

/// Draws the host's progress display; quiet unless standard error is a terminal.
class ProgressBar {
public:
    ProgressBar();
    void OnRecord(const sim::ProgressRecord& record);

private:
    void Draw(int percent);
    bool enabled_;
    bool drawn_ = false;
    std::string title_;
};

/// Installs the interrupt handlers: the first Ctrl-C (SIGINT), SIGTERM or
/// SIGHUP asks for the host's cancel, the same signal again ends the process.
/// A file-size limit (SIGXFSZ) no longer ends the process: the write fails.
void InstallInterrupt();
/// True once an interrupt came.
bool Interrupted();
/// The first interrupt's signal number, or 0.
int InterruptSignal();

}  // namespace console
