// Opens arbitrary bytes as a .pak archive and reads every entry: truncated
// archives, lying sizes and bad CRCs must end in an error through the error
// channel, with memory bounded by what the archive can really hold.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/debug.h"
#include "io/stream_zip.h"

namespace {
std::string ArchivePath() {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/qel_fuzz_zip_" + std::to_string(getpid()) + ".pak";
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = ArchivePath();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        eRef<xIo::xRepository::eZipContainer> container(new xIo::xRepository::eZipContainer(path));
        for (const std::string& name : container->EntryNames()) {
            try {
                xIo::eZipStream stream(*container, name);
                if (stream.Size() > 0) stream.Seek(stream.Size() - 1, 0).Get<uint8_t>();
            } catch (const xDebug::eEx_Custom&) {
            }
        }
    } catch (const xDebug::eEx_Custom&) {
    }
    return 0;
}
