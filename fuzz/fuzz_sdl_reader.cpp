// Feeds arbitrary text to the SDL reader as a file of the repository. Every
// include names the same text again, so include chains, defines, mod blocks
// and arithmetic all get exercised; any outcome but an error through the
// error channel (a crash, a hang, a leak) is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/debug.h"
#include "io/repository.h"
#include "io/sdl_reader.h"
#include "io/stream_memory.h"

namespace {
std::string g_input;

struct Setup {
    Setup() {
        xIo::xRepository::AddOpenHook([](const std::string&, uint32_t) -> std::unique_ptr<xIo::eStream> {
            return std::make_unique<xIo::eBufferStream>(g_input);
        });
        xIo::xSdl::eReader::LoadingMods().loaded = {"a", "mod"};
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Setup setup;
    g_input.assign(reinterpret_cast<const char*>(data), size);
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        xIo::xSdl::eReader reader;
        reader.Open("/input.sdl");
        while (!reader.AtEnd()) {
            // Mix the value reads in; their errors are part of the contract.
            if (reader.Peek().type == xIo::xSdl::kTokenBegin && (size & 1)) {
                reader.ReadBlockStart();
                if (reader.Peek().type == xIo::xSdl::kTokenIdent && reader.ReadIdent().size() % 3 == 0) reader.SkipBlock();
            } else {
                reader.Next();
            }
        }
        reader.Next();
    } catch (const xDebug::eEx_Custom&) {
    }
    return 0;
}
