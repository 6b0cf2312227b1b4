// The core library's operating-system services on POSIX systems.
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "base/debug.h"
#include "base/platform.h"

namespace xPlatform {

bool CreateTlsSlot(unsigned& slot, int& error) {
    pthread_key_t key;
    error = pthread_key_create(&key, nullptr);
    if (error != 0) return false;
    slot = static_cast<unsigned>(key);
    return true;
}

void FreeTlsSlot(unsigned slot) { pthread_key_delete(static_cast<pthread_key_t>(slot)); }
void* GetTlsSlot(unsigned slot) { return pthread_getspecific(static_cast<pthread_key_t>(slot)); }
void SetTlsSlot(unsigned slot, void* value) { pthread_setspecific(static_cast<pthread_key_t>(slot), value); }

int ShowMessageBox(const MessageBoxParams& params) {
    std::string out = params.caption + ": " + params.text;
    if (out.empty() || out.back() != '\n') out += '\n';
    std::fwrite(out.data(), 1, out.size(), stderr);
    std::fflush(stderr);
    switch (params.style & kBoxButtonsMask) {
        case kBoxOkCancel:
        case kBoxRetryCancel: return kAnswerCancel;
        case kBoxYesNo: return kAnswerNo;
        default: return kAnswerOk;
    }
}

bool IsDebuggerAttached() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("TracerPid:", 0) == 0) return std::atoi(line.c_str() + 10) != 0;
    return false;
}

void BreakIntoDebugger() { raise(SIGTRAP); }

void TerminateProcess(int exit_code) { _exit(exit_code); }

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP, SIGSYS};
struct sigaction g_previous[sizeof kFatalSignals / sizeof kFatalSignals[0]];
stack_t g_previousAltStack{};
bool g_installed = false;
char g_altStack[64 * 1024];

// The Windows exception code that stands for a fatal signal, so that both
// builds name a crash alike; 0 when none does.
uint32_t CodeOfSignal(int sig, int code) {
    switch (sig) {
        case SIGSEGV: return 0xC0000005;
        case SIGBUS: return code == BUS_ADRALN ? 0x80000002 : 0xC0000006;
        case SIGILL: return (code == ILL_PRVOPC || code == ILL_PRVREG) ? 0xC0000096 : 0xC000001D;
        case SIGTRAP: return code == TRAP_TRACE ? 0x80000004 : 0x80000003;
        case SIGFPE:
            switch (code) {
                case FPE_INTDIV: return 0xC0000094;
                case FPE_INTOVF: return 0xC0000095;
                case FPE_FLTDIV: return 0xC000008E;
                case FPE_FLTOVF: return 0xC0000091;
                case FPE_FLTUND: return 0xC0000093;
                case FPE_FLTRES: return 0xC000008F;
                case FPE_FLTINV: return 0xC0000090;
                case FPE_FLTSUB: return 0xC000008C;
                default: return 0;
            }
        default: return 0;
    }
}

void OnFatalSignal(int sig, siginfo_t* info, void*) {
    uint32_t code = CodeOfSignal(sig, info ? info->si_code : 0);
    const char* name = code ? xDebug::ExceptionCodeName(code) : nullptr;
    xDebug::ReportUnhandled(name ? std::string(name) : SystemCodeText(static_cast<uint32_t>(sig)));
}

}  // namespace

void InstallCrashFilter() {
    if (g_installed) return;
    stack_t alt{};
    alt.ss_sp = g_altStack;
    alt.ss_size = sizeof g_altStack;
    sigaltstack(&alt, &g_previousAltStack);
    struct sigaction action{};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < sizeof kFatalSignals / sizeof kFatalSignals[0]; ++i)
        sigaction(kFatalSignals[i], &action, &g_previous[i]);
    g_installed = true;
}

void RemoveCrashFilter() {
    if (!g_installed) return;
    for (size_t i = 0; i < sizeof kFatalSignals / sizeof kFatalSignals[0]; ++i)
        sigaction(kFatalSignals[i], &g_previous[i], nullptr);
    // The stack belongs to this module: a signal after it is unloaded must
    // not run on freed memory.
    sigaltstack(&g_previousAltStack, nullptr);
    g_installed = false;
}

std::string SystemCodeText(uint32_t code) {
    const char* text = strsignal(static_cast<int>(code));
    return text ? text : "Unknown signal " + std::to_string(code);
}

std::tm LocalTime(long long seconds_since_epoch) {
    std::time_t t = static_cast<std::time_t>(seconds_since_epoch);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

std::string ModulePath(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return std::string();
    return info.dli_fname;
}

uint64_t FileWriteTime(const std::string& local_path) {
    struct stat st;
    if (stat(local_path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    // 100-nanosecond steps since 1601-01-01, as the system's file times.
    constexpr uint64_t kEpochDifference = 11644473600ULL;
    return (static_cast<uint64_t>(st.st_mtim.tv_sec) + kEpochDifference) * 10000000ULL +
           static_cast<uint64_t>(st.st_mtim.tv_nsec) / 100;
}

bool SetFileWriteTimeNow(const std::string& local_path) {
    struct stat st;
    if (stat(local_path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const struct timespec times[2] = {{0, UTIME_OMIT}, {0, UTIME_NOW}};
    return utimensat(AT_FDCWD, local_path.c_str(), times, 0) == 0;
}

void* LoadSharedLibrary(const std::string& path, std::string& error) {
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        error = reason ? reason : "unknown reason";
    }
    return library;
}

void* FindSharedLibrarySymbol(void* library, const char* name) { return dlsym(library, name); }

void FreeSharedLibrary(void* library) { dlclose(library); }

std::string ExecutablePath() {
    char path[PATH_MAX];
    const ssize_t size = readlink("/proc/self/exe", path, sizeof path);
    return size > 0 && size_t(size) < sizeof path ? std::string(path, size_t(size)) : std::string();
}

}  // namespace xPlatform
