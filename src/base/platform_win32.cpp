// The core library's operating-system services on Windows.
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/debug.h"
#include "base/platform.h"

namespace xPlatform {

bool CreateTlsSlot(unsigned& slot, int& error) {
    DWORD index = TlsAlloc();
    if (index == TLS_OUT_OF_INDEXES) {
        error = static_cast<int>(GetLastError());
        return false;
    }
    slot = index;
    return true;
}

void FreeTlsSlot(unsigned slot) { TlsFree(slot); }
void* GetTlsSlot(unsigned slot) { return TlsGetValue(slot); }
void SetTlsSlot(unsigned slot, void* value) { TlsSetValue(slot, value); }

int ShowMessageBox(const MessageBoxParams& params) {
    MSGBOXPARAMSA box{};
    box.cbSize = sizeof box;
    box.hwndOwner = static_cast<HWND>(params.owner);
    box.lpszText = params.text.c_str();
    box.lpszCaption = params.caption.c_str();
    box.dwStyle = params.style;
    return MessageBoxIndirectA(&box);
}

bool IsDebuggerAttached() { return ::IsDebuggerPresent() != FALSE; }

void BreakIntoDebugger() { DebugBreak(); }

void TerminateProcess(int exit_code) { ExitProcess(static_cast<UINT>(exit_code)); }

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER g_previous = nullptr;
bool g_installed = false;

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    uint32_t code = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0;
    const char* name = xDebug::ExceptionCodeName(code);
    xDebug::ReportUnhandled(name ? std::string(name) : SystemCodeText(code));
}

}  // namespace

void InstallCrashFilter() {
    if (g_installed) return;
    g_previous = SetUnhandledExceptionFilter(OnUnhandledException);
    g_installed = true;
}

void RemoveCrashFilter() {
    if (!g_installed) return;
    SetUnhandledExceptionFilter(g_previous);
    g_installed = false;
}

std::string SystemCodeText(uint32_t code) {
    // Written into one static buffer, as the report needs no more than one.
    static char text[512];
    text[0] = 0;
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;
    if (FormatMessageA(flags, GetModuleHandleA("NTDLL.DLL"), code, 0, text, sizeof text, nullptr) == 0)
        std::snprintf(text, sizeof text, "0x%08X", code);
    return text;
}

std::tm LocalTime(long long seconds_since_epoch) {
    __time64_t t = static_cast<__time64_t>(seconds_since_epoch);
    std::tm tm{};
    _localtime64_s(&tm, &t);
    return tm;
}

std::string ModulePath(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module))
        return std::string();
    char path[MAX_PATH];
    DWORD size = GetModuleFileNameA(module, path, MAX_PATH);
    return size == 0 || size == MAX_PATH ? std::string() : std::string(path, size);
}

uint64_t FileWriteTime(const std::string& local_path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(local_path.c_str(), GetFileExInfoStandard, &data)) return 0;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

bool SetFileWriteTimeNow(const std::string& local_path) {
    HANDLE file = CreateFileA(local_path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const bool done = SetFileTime(file, nullptr, nullptr, &now) != 0;
    CloseHandle(file);
    return done;
}

void* LoadSharedLibrary(const std::string& path, std::string& error) {
    const std::string file = path.find_first_of("/\\:") == std::string::npos ? ".\\" + path : path;
    HMODULE library = LoadLibraryExA(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (library == nullptr) {
        const DWORD code = GetLastError();
        char text[512] = {};
        if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                           nullptr) == 0)
            std::snprintf(text, sizeof text, "error %lu", static_cast<unsigned long>(code));
        error = text;
        while (!error.empty() && (error.back() == '\n' || error.back() == '\r' || error.back() == ' ')) error.pop_back();
    }
    return library;
}

void* FindSharedLibrarySymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void FreeSharedLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

std::string ExecutablePath() {
    char path[MAX_PATH];
    const DWORD size = GetModuleFileNameA(nullptr, path, sizeof path);
    return size > 0 && size < sizeof path ? std::string(path, size) : std::string();
}

}  // namespace xPlatform
