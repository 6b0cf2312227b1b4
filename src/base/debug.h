#pragma once
// The error channel of the core library.
//
// An error is raised with its source (a short path such as "io/stream_file"),
// line and message and never returns to the code that raised it: depending on
// the exception mode it is thrown as eEx_Custom, or shown in the error box,
// after which the process ends (or eEx_Retry is thrown when the user chose
// Retry). A warning is logged and returns, unless warnings are errors.
#include <cstdint>
#include <string>

#include "base/platform.h"

class format;

namespace xDebug {

/// Catchable base of the exceptions below.
struct eException {};

/// An error raised while the exception mode has the throw bit.
struct eEx_Custom : eException {
    std::string message;  ///< the message as raised
    std::string trace;    ///< the check-point trace
    std::string source;   ///< short source path of the raiser
    int line = 0;
    /// The full error text: report line followed by the trace.
    std::string Text() const;
};

/// The user chose Retry in the error box.
struct eEx_Retry : eException {};

// Exception mode bits.
enum : int32_t {
    kModeRetry = 2,        ///< the box offers Retry and Cancel and shows the entry's text
    kModeThrow = 0x4,      ///< throw eEx_Custom instead of showing the box
    kModeNoLog = 0x100,    ///< no log report
};

/// Pushes an exception-mode entry for the lifetime of the object.
class eExceptionMode {
public:
    explicit eExceptionMode(int32_t mode, std::string text = {});
    ~eExceptionMode();
    eExceptionMode(const eExceptionMode&) = delete;
    eExceptionMode& operator=(const eExceptionMode&) = delete;
};
/// The mode of the top entry; 0 when the stack is empty.
int32_t CurrentExceptionMode();

/// Presents errors. One instance is current; it starts as the default handler.
class eErrorHandler {
public:
    virtual ~eErrorHandler() = default;
    virtual bool IsDebuggerPresent();
    /// The error box for an error text (see Error).
    virtual void ShowError(const std::string& message);
    /// Completes the box parameters: size 40, stop icon and topmost, and the
    /// caption "Exception, can be retried" (Retry/Cancel) or "Exception" when
    /// none was set.
    virtual void PrepareBox(xPlatform::MessageBoxParams& params);
    virtual void BeforeBox() {}
    virtual void AfterBox() {}
    virtual void OnRetry() {}
    /// Shows a prepared box and returns the answer; the default asks the
    /// platform. Every box of the core library goes through here, so a
    /// handler can record or answer them.
    virtual int Present(const xPlatform::MessageBoxParams& params);
};

/// The current handler; never null.
eErrorHandler& Handler();
/// Makes handler current; null restores the default handler.
void SetHandler(eErrorHandler* handler);

[[noreturn]] void Error(const char* source, int line, const char* message);
[[noreturn]] void Error(const char* source, int line, const std::string& message);
[[noreturn]] void Error(const char* source, int line, const format& message);
void Warning(const char* source, int line, const char* message);
void Warning(const char* source, int line, const std::string& message);
void Warning(const char* source, int line, const format& message);
/// Logs "[INFO] " + text + LF.
void Info(const std::string& text);

/// The report line: message, " (", shortened source, ", ", line, ")", LF.
std::string ReportLine(const char* source, int line, const std::string& message);
/// The source path from the first known library group followed by a
/// backslash, or the text after its last backslash.
std::string ShortSourcePath(const char* source);
/// Library groups known for the report line and the "app.start" list.
void RegisterLibraryGroup(const std::string& group, const std::string& member);

/// Writes one information line "Libraries (%1%): %2%" per library group.
void LogLibraryGroups();

/// The name of a Windows exception code ("ACCESS_VIOLATION"), or null for a
/// code the table does not list.
const char* ExceptionCodeName(uint32_t code);
/// The crash report: logs the name, shows the "Unhandled exception" box and
/// ends the process with exit code 1.
[[noreturn]] void ReportUnhandled(const std::string& name);

/// Installs the crash report (the unhandled-exception filter) for its
/// lifetime and puts the previous filter back after. Only the products that
/// run in an artist's process own one: the plug-in while it is loaded, and
/// the command-line exporter. Linking the core library installs nothing, so
/// a crash in a test, a fuzz target or a tool reaches the sanitizers, the
/// fuzzer and the debugger as it is.
class eCrashReport {
public:
    eCrashReport();
    ~eCrashReport();
    eCrashReport(const eCrashReport&) = delete;
    eCrashReport& operator=(const eCrashReport&) = delete;
};
/// False in the sanitizer and fuzz builds, where eCrashReport installs
/// nothing: the report would hide the crash from the sanitizers and from the
/// fuzzer, which keeps the crashing input.
bool CrashReportBuilt();

/// True once an error was thrown as eEx_Custom.
bool ErrorWasThrown();

}  // namespace xDebug
