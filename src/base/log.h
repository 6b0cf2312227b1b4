#pragma once
// Log lines of the core library. The sink keeps nothing by default; a
// console.log file or a caller's function can be set as the sink.
#include <cstdint>
#include <functional>
#include <string>

namespace xLog {

using Sink = std::function<void(const std::string& text)>;

/// Environment variable naming a file (usually "console.log") that keeps the
/// log lines; without it they are dropped.
inline constexpr const char* kLogFileVariable = "QEL_CONSOLE_LOG";

/// Hands text (one or more whole lines) to the sink.
void Write(const std::string& text);
/// Sets the sink; null drops every line.
void SetSink(Sink sink);
/// Appends every line to the file (the usual name is "console.log"). False,
/// with the system's reason in error, when the file cannot be opened.
bool OpenFileSink(const std::string& path, std::string* error = nullptr);
/// The system's reason for the first line the file sink could not write; ""
/// while every line was written.
std::string FileSinkError();

/// Information lines: queued in order until the log is opened by the "app"
/// module start, written at once after that.
void Information(const std::string& line);
void OpenLog();
bool IsOpen();
/// Forgets the queue and closes the log again (tests).
void ResetForTests();

/// Console colours by name ("black" .. "white"), ARGB; 0 for an unknown name.
uint32_t ColourByName(const std::string& name);

}  // namespace xLog
