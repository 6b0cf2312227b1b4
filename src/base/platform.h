#pragma once
// The few operating-system services the core library needs. One
// implementation file per platform: platform_posix.cpp, platform_win32.cpp.
#include <cstdint>
#include <ctime>
#include <string>

namespace xPlatform {

// Thread-local slots. CreateTlsSlot returns false and the system's error
// number when no slot is left.
bool CreateTlsSlot(unsigned& slot, int& error);
void FreeTlsSlot(unsigned slot);
void* GetTlsSlot(unsigned slot);
void SetTlsSlot(unsigned slot, void* value);

// Message box styles and answers, with the values of the Win32 API so that a
// Windows build passes them on unchanged.
enum : uint32_t {
    kBoxOk = 0x0,
    kBoxOkCancel = 0x1,
    kBoxYesNo = 0x4,
    kBoxRetryCancel = 0x5,
    kBoxButtonsMask = 0xF,
    kBoxIconError = 0x10,
    kBoxIconQuestion = 0x20,
    kBoxIconExclamation = 0x30,
    kBoxIconInformation = 0x40,
    kBoxIconMask = 0xF0,
    kBoxSystemModal = 0x1000,
    kBoxTopmost = 0x40000,
};
enum : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerRetry = 4, kAnswerYes = 6, kAnswerNo = 7 };

/// The parameters of one message box (the system's indirect message box block).
struct MessageBoxParams {
    uint32_t size = 0;
    void* owner = nullptr;
    std::string text;
    std::string caption;
    uint32_t style = 0;
};

/// Shows a message box and returns the answer. Where no user can answer (the
/// Linux build), the text goes to standard error and the answer is Cancel for
/// boxes that offer it, otherwise OK.
int ShowMessageBox(const MessageBoxParams& params);

bool IsDebuggerAttached();
void BreakIntoDebugger();

/// Ends the process at once with the exit code, without running destructors.
[[noreturn]] void TerminateProcess(int exit_code);

/// Installs the crash report for unhandled exceptions or fatal signals;
/// Remove puts the previous one back.
void InstallCrashFilter();
void RemoveCrashFilter();

/// The operating system's text for an exception code or signal that the
/// library's own table does not name.
std::string SystemCodeText(uint32_t code);

/// The local calendar time of a count of seconds since 1970.
std::tm LocalTime(long long seconds_since_epoch);

/// The path of the loaded module (program or shared library) that holds
/// address; empty when the system cannot tell.
std::string ModulePath(const void* address);

/// The last write time of a local file as a 64-bit count of 100-nanosecond
/// steps since 1601-01-01, as the system's file times; 0 for a missing file
/// or one that is not a regular file.
uint64_t FileWriteTime(const std::string& local_path);
/// Sets the last write time of a local regular file to the current time;
/// false when the file is missing or the system refuses.
bool SetFileWriteTimeNow(const std::string& local_path);
/// Loads a shared library (a plug-in) into the process; null with the
/// system's reason in error. A path without a folder names a file in the
/// working directory: the system's library search is not used.
void* LoadSharedLibrary(const std::string& path, std::string& error);
/// The address of the library's exported symbol, or null.
void* FindSharedLibrarySymbol(void* library, const char* name);
/// Unloads what LoadSharedLibrary loaded.
void FreeSharedLibrary(void* library);
/// The file of the running program; "" when the system does not say.
std::string ExecutablePath();

}  // namespace xPlatform
