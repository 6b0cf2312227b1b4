#include "base/debug.h"

#include <cstdio>
#include <vector>

// Builds for the sanitizers and the fuzzer define this as 0 (see the base
// library's CMakeLists.txt).
#ifndef QEL_CRASH_REPORT
#define QEL_CRASH_REPORT 1
#endif

#include "base/check_point.h"
#include "base/format.h"
#include "base/global_collector.h"
#include "base/log.h"
#include "base/settings.h"

namespace xDebug {

namespace {

xSet::eIntSetting dbg_exceptions("dbg_exceptions", 0);
xSet::eIntSetting dbg_warning_level("dbg_warning_level", 0);
xSet::eIntSetting dbg_warningErrorLevel("dbg_warningErrorLevel", -1);

struct ModeEntry {
    int32_t mode;
    std::string text;
};

std::vector<ModeEntry>& ModeStack() {
    static std::vector<ModeEntry> stack;
    return stack;
}

struct LibraryGroup {
    std::string name;
    std::vector<std::string> members;
};

std::vector<LibraryGroup>& LibraryGroups() {
    static std::vector<LibraryGroup> groups;
    return groups;
}

eErrorHandler& DefaultHandler() {
    static eErrorHandler handler;
    return handler;
}

eErrorHandler* g_handler = nullptr;
bool g_errorThrown = false;

// The per-thread storages the error path itself uses take their slots while
// the library loads, so that running out of slots later can still be reported.
struct EarlyStorages {
    EarlyStorages() {
        xCheckPoint::ThreadStack();
        ToS(int32_t{0});
        format("%d") % 0;
    }
} early_storages;

const char* const kHandledHead = "============== Handled exception ===============\n";
const char* const kSeparator = "------------------------------------------------\n";
const char* const kFoot = "================================================\n";

[[noreturn]] void Raise(const char* source, int line, const std::string& message) {
    xCheckPoint::eStack& stack = xCheckPoint::ThreadStack();
    std::string report = ReportLine(source, line, message);
    std::string trace = stack.Trace();
    int32_t mode = CurrentExceptionMode();
    if ((mode & kModeNoLog) == 0) xLog::Write(kHandledHead + report + kSeparator + trace + kFoot);
    if (mode & kModeThrow) {
        g_errorThrown = true;
        eEx_Custom ex;
        ex.message = message;
        ex.trace = trace;
        ex.source = ShortSourcePath(source);
        ex.line = line;
        throw ex;
    }
    eErrorHandler& handler = Handler();
    handler.ShowError(report + trace);
    if (handler.IsDebuggerPresent()) xPlatform::BreakIntoDebugger();
    SetHandler(nullptr);
    xApp::Events().Fire(xApp::kEventTerminate);
    std::fflush(nullptr);
    xPlatform::TerminateProcess(1);
}

}  // namespace

std::string eEx_Custom::Text() const { return ReportLine(source.c_str(), line, message) + trace; }

eExceptionMode::eExceptionMode(int32_t mode, std::string text) { ModeStack().push_back({mode, std::move(text)}); }
eExceptionMode::~eExceptionMode() { ModeStack().pop_back(); }

int32_t CurrentExceptionMode() { return ModeStack().empty() ? 0 : ModeStack().back().mode; }

bool eErrorHandler::IsDebuggerPresent() { return xPlatform::IsDebuggerAttached(); }

void eErrorHandler::ShowError(const std::string& message) {
    BeforeBox();
    xPlatform::MessageBoxParams params;
    params.text = message;
    params.style = xPlatform::kBoxOk;
    if (CurrentExceptionMode() & kModeRetry) {
        params.text += ModeStack().back().text;
        params.style = xPlatform::kBoxRetryCancel;
    }
    PrepareBox(params);
    int answer = Present(params);
    AfterBox();
    if (answer == xPlatform::kAnswerRetry) {
        OnRetry();
        if (dbg_exceptions.Value() != 0 && IsDebuggerPresent()) xPlatform::BreakIntoDebugger();
        throw eEx_Retry();
    }
}

void eErrorHandler::PrepareBox(xPlatform::MessageBoxParams& params) {
    params.size = 40;
    params.style |= xPlatform::kBoxIconError | xPlatform::kBoxTopmost;
    if (params.caption.empty())
        params.caption = (params.style & xPlatform::kBoxButtonsMask) == xPlatform::kBoxRetryCancel
                             ? "Exception, can be retried"
                             : "Exception";
}

int eErrorHandler::Present(const xPlatform::MessageBoxParams& params) { return xPlatform::ShowMessageBox(params); }

bool CrashReportBuilt() { return QEL_CRASH_REPORT != 0; }

eCrashReport::eCrashReport() {
    if (CrashReportBuilt()) xPlatform::InstallCrashFilter();
}

eCrashReport::~eCrashReport() {
    if (CrashReportBuilt()) xPlatform::RemoveCrashFilter();
}

eErrorHandler& Handler() { return g_handler ? *g_handler : DefaultHandler(); }

void SetHandler(eErrorHandler* handler) { g_handler = handler; }

void Error(const char* source, int line, const char* message) { Raise(source, line, message ? message : ""); }
void Error(const char* source, int line, const std::string& message) { Raise(source, line, message); }
void Error(const char* source, int line, const format& message) { Raise(source, line, message.str()); }

void Warning(const char* source, int line, const std::string& message) {
    if (dbg_warningErrorLevel.Value() >= 0) Raise(source, line, message);
    if (dbg_warning_level.Value() < 0) return;
    const xCheckPoint::eStack& stack = xCheckPoint::ThreadStack();
    if (!stack.Empty()) xLog::Write(message + "(" + stack.Trace() + ")\n");
    else xLog::Write(ReportLine(source, line, message));
}
void Warning(const char* source, int line, const char* message) { Warning(source, line, std::string(message ? message : "")); }
void Warning(const char* source, int line, const format& message) { Warning(source, line, message.str()); }

void Info(const std::string& text) { xLog::Information(text); }

std::string ShortSourcePath(const char* source) {
    std::string path = source ? source : "";
    for (const LibraryGroup& group : LibraryGroups()) {
        size_t at = path.find(group.name + "\\");
        if (at != std::string::npos) return path.substr(at);
    }
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ReportLine(const char* source, int line, const std::string& message) {
    return message + " (" + ShortSourcePath(source) + ", " + ToS(static_cast<int32_t>(line)) + ")\n";
}

void RegisterLibraryGroup(const std::string& group, const std::string& member) {
    for (LibraryGroup& g : LibraryGroups()) {
        if (g.name == group) {
            g.members.push_back(member);
            return;
        }
    }
    LibraryGroups().push_back({group, {member}});
}

void LogLibraryGroups() {
    for (const LibraryGroup& g : LibraryGroups()) {
        std::string members;
        for (size_t i = 0; i < g.members.size(); ++i) members += (i ? ", " : "") + g.members[i];
        Info(format("Libraries (%1%): %2%") % g.name % members);
    }
}

bool ErrorWasThrown() { return g_errorThrown; }

const char* ExceptionCodeName(uint32_t code) {
    struct Name {
        uint32_t code;
        const char* name;
    };
    static const Name kNames[] = {
        {0x80000001, "GUARD_PAGE"},
        {0x80000002, "DATATYPE_MISALIGNMENT"},
        {0x80000003, "BREAKPOINT"},
        {0x80000004, "SINGLE_STEP"},
        {0xC0000005, "ACCESS_VIOLATION"},
        {0xC0000006, "IN_PAGE_ERROR"},
        {0xC0000008, "INVALID_HANDLE"},
        {0xC000001D, "ILLEGAL_INSTRUCTION"},
        {0xC0000025, "NONCONTINUABLE_EXCEPTION"},
        {0xC0000026, "INVALID_DISPOSITION"},
        {0xC000008C, "ARRAY_BOUNDS_EXCEEDED"},
        {0xC000008D, "FLT_DENORMAL_OPERAND"},
        {0xC000008E, "FLT_DIVIDE_BY_ZERO"},
        {0xC000008F, "FLT_INEXACT_RESULT"},
        {0xC0000090, "FLT_INVALID_OPERATION"},
        {0xC0000091, "FLT_OVERFLOW"},
        {0xC0000092, "FLT_STACK_CHECK"},
        {0xC0000093, "FLT_UNDERFLOW"},
        {0xC0000094, "INT_DIVIDE_BY_ZERO"},
        {0xC0000095, "INT_OVERFLOW"},
        {0xC0000096, "PRIV_INSTRUCTION"},
        {0xC00000FD, "STACK_OVERFLOW"},
    };
    for (const Name& n : kNames)
        if (n.code == code) return n.name;
    return nullptr;
}

void ReportUnhandled(const std::string& name) {
    xLog::Write("============= Unhandled exception ==============\n" + name + "\n");
    eErrorHandler& handler = Handler();
    xPlatform::MessageBoxParams params;
    params.text = name + "\n\nSee console.log for details.";
    params.caption = "Unhandled exception";
    params.style = xPlatform::kBoxOk;
    handler.PrepareBox(params);
    handler.BeforeBox();
    handler.Present(params);
    std::fflush(nullptr);
    xPlatform::TerminateProcess(1);
}

}  // namespace xDebug
