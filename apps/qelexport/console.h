#pragma once
// What the artist sees on the terminal: message boxes as UTF-8 lines on
// standard error, a progress bar when standard error is a terminal, and
// Ctrl-C turned into the host's cancel.
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

/// Installs the Ctrl-C handler: the first Ctrl-C asks for a cancel, a second
/// one ends the process.
void InstallInterrupt();
/// True once Ctrl-C was pressed.
bool Interrupted();

}  // namespace console
