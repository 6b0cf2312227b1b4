// Not a search for faults: a target that crashes on purpose, so that
// scripts/fuzz.sh can check that a crash in a fuzz target reaches the fuzzer
// (which reports it with a stack and keeps the input as a reproducer) and is
// not swallowed by the core library's crash report. It reads its input with
// the SDL reader first, so the whole error channel is linked in as in the
// real targets. An input that starts with "crash" writes through a null
// pointer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/debug.h"
#include "io/sdl_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        xIo::xSdl::eReader reader;
        reader.OpenText("input.sdl", text);
        while (!reader.AtEnd()) reader.Next();
    } catch (const xDebug::eEx_Custom&) {
    }
    if (text.rfind("crash", 0) == 0) {
        int* volatile nowhere = reinterpret_cast<int*>(uintptr_t{64});
        *nowhere = 1;
    }
    return 0;
}
