#include "io/zip_container.h"

#include <sys/stat.h>
#include <unzip.h>

#include <algorithm>

#include "base/debug.h"
#include "base/format.h"
#include "io/file_system.h"
#include "io/path_map.h"

namespace xIo::xRepository {

namespace {
const char* const kSource = "io/stream_zip";

// Deflate cannot expand data by more than about 1032 to 1; an entry that
// claims more is lying about its size.
constexpr uint64_t kMaxDeflateRatio = 1032;
constexpr uint64_t kMaxEntrySize = INT32_MAX;  // a stream holds at most 2 GiB
constexpr size_t kReadChunk = 64 * 1024;

unzFile Handle(void* handle) { return static_cast<unzFile>(handle); }
}  // namespace

eZipContainer::eZipContainer(const std::string& path) : path_(path) {
    std::string local = LocalPath(path);
    struct stat st;
    if (stat(local.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) xDebug::Error(kSource, __LINE__, format("%1%: can't open .pak") % path);
    archiveSize_ = static_cast<uint64_t>(st.st_size);
    handle_ = unzOpen64(local.c_str());
    if (handle_ == nullptr) xDebug::Error(kSource, __LINE__, format("%1%: can't open .pak") % path);

    std::vector<char> name(65536);
    int result = unzGoToFirstFile(Handle(handle_));
    while (result == UNZ_OK) {
        unz_file_info64 info;
        result = unzGetCurrentFileInfo64(Handle(handle_), &info, name.data(), static_cast<uLong>(name.size()), nullptr, 0,
                                         nullptr, 0);
        if (result != UNZ_OK) break;
        std::string entry_name(name.data(), std::min<size_t>(info.size_filename, name.size() - 1));
        NormalizePath(entry_name);
        unz64_file_pos pos;
        if (unzGetFilePos64(Handle(handle_), &pos) != UNZ_OK) {
            result = UNZ_BADZIPFILE;
            break;
        }
        // Directory entries carry no content; the first of two equal names wins.
        if (!entry_name.empty() && entry_name.back() != '/')
            entries_.emplace(entry_name, Entry{pos.pos_in_zip_directory, pos.num_of_file});
        result = unzGoToNextFile(Handle(handle_));
    }
    if (result != UNZ_END_OF_LIST_OF_FILE) {
        unzClose(Handle(handle_));
        handle_ = nullptr;
        xDebug::Error(kSource, __LINE__, format("%1%: can't open .pak") % path);
    }
}

eZipContainer::~eZipContainer() {
    if (handle_) unzClose(Handle(handle_));
}

std::vector<std::string> eZipContainer::EntryNames() const {
    std::vector<std::string> names;
    for (const auto& entry : entries_) names.push_back(entry.first);
    return names;
}

void eZipContainer::BadEntry(int line, const std::string& entry_name, const char* reason) const {
    xDebug::Error(kSource, line, format("%1%: bad entry %2% (%3%)") % path_ % entry_name % reason);
}

std::vector<uint8_t> eZipContainer::ReadEntry(const std::string& entry_name) {
    auto it = entries_.find(entry_name);
    if (it == entries_.end()) BadEntry(__LINE__, entry_name, "not in the archive");

    std::lock_guard<std::mutex> lock(mutex_);
    unzFile zip = Handle(handle_);
    unz64_file_pos pos{it->second.directoryOffset, it->second.fileNumber};
    unz_file_info64 info;
    if (unzGoToFilePos64(zip, &pos) != UNZ_OK ||
        unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        BadEntry(__LINE__, entry_name, "unreadable header");
    if (info.flag & 1) BadEntry(__LINE__, entry_name, "encrypted");
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
        BadEntry(__LINE__, entry_name, "unknown compression method");
    uint64_t size = info.uncompressed_size;
    if (size > kMaxEntrySize) BadEntry(__LINE__, entry_name, "declared size too large");
    if (info.compressed_size > archiveSize_) BadEntry(__LINE__, entry_name, "declared size beyond the archive");
    if (info.compression_method == 0 ? size != info.compressed_size
                                     : size > info.compressed_size * kMaxDeflateRatio + 1024)
        BadEntry(__LINE__, entry_name, "declared sizes disagree");
    if (unzOpenCurrentFile(zip) != UNZ_OK) BadEntry(__LINE__, entry_name, "unreadable header");

    std::vector<uint8_t> content;
    content.reserve(static_cast<size_t>(std::min<uint64_t>(size, kReadChunk)));
    const char* failure = nullptr;
    while (content.size() < size) {
        size_t piece = static_cast<size_t>(std::min<uint64_t>(size - content.size(), kReadChunk));
        size_t at = content.size();
        content.resize(at + piece);
        int n = unzReadCurrentFile(zip, content.data() + at, static_cast<unsigned>(piece));
        if (n <= 0) {
            failure = n == 0 ? "truncated" : "corrupt data";
            break;
        }
        content.resize(at + static_cast<size_t>(n));
    }
    int closed = unzCloseCurrentFile(zip);
    if (failure) BadEntry(__LINE__, entry_name, failure);
    if (closed == UNZ_CRCERROR) BadEntry(__LINE__, entry_name, "bad CRC");
    if (closed != UNZ_OK) BadEntry(__LINE__, entry_name, "corrupt data");
    return content;
}

}  // namespace xIo::xRepository
