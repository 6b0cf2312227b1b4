#pragma once
// A disk file as a stream. A file opened for writing is written under a
// temporary name (the name with ".tmp" appended) and moved over its real name
// when closed, so an interrupted export never leaves a half-written file
// under a real name; the direct mode writes in place instead.
#include <functional>
#include <string>

#include "io/stream.h"

namespace xIo {

/// Called with the name of every file a stream finished writing (committed,
/// or closed in the direct mode), so a tool can list what an export wrote.
using FileWrittenHook = std::function<void(const std::string& name)>;
void SetFileWrittenHook(FileWrittenHook hook);

class eFileStream : public eStream {
public:
    /// Window length used for the exporter's output files.
    static constexpr int32_t kOutputBufferSize = 32768;

    eFileStream() = default;
    /// Closes and commits as Close does. Destroyed while an exception
    /// unwinds, it abandons the file instead: the temporary file is removed
    /// and the target keeps its previous content. A failure while closing in
    /// the destructor cannot reach the caller; call Close to see it.
    ~eFileStream() override;

    /// Opens name with mode (kModeRead, kModeWrite, kModeTruncate,
    /// kModeInteractive, kModeDirect). True when the file is open. A failure
    /// asks Retry/Cancel in the interactive mode (Cancel raises "%1% - open
    /// error!"); otherwise it sets the failed bit and returns false.
    bool Open(const std::string& name, uint32_t mode, int32_t buffer_size);
    /// Writes back, closes the file and commits the temporary file. A failed
    /// write raises "%1% - write error (%2%)!" after removing the temporary
    /// file, so the target keeps its previous content.
    void Close();
    /// Closes without committing: the temporary file is removed and the
    /// target keeps its previous content (a direct-mode file stays as written).
    void Discard() { Abandon(); }
    bool IsOpen() const { return handle_ >= 0; }
    const std::string& Name() const { return name_; }

    void Flush() override;
    void Truncate() override;
    /// Moves the window as every stream does; a written file's window that
    /// lands inside what is already written is filled from the file too, so
    /// a seek back to patch a size and forward again never writes back the
    /// bytes the window held before.
    void Advance() override;
    void Fill() override;

private:
    bool UsesTemporary() const { return (flags_ & (kModeWrite | kModeTruncate)) && !(flags_ & kModeDirect); }
    std::string TemporaryName() const { return name_ + ".tmp"; }
    /// Asks Retry/Cancel about path; returns true for Retry, raises on Cancel.
    bool AskRetry(const std::string& path) const;
    /// Closes the handle and removes the temporary file.
    void Abandon();
    /// A write or flush failed: abandon the file and raise the error.
    [[noreturn]] void WriteFailed(int error);

    std::string name_;
    int handle_ = -1;
    bool pendingCommit_ = false;
    int uncaughtAtOpen_ = 0;
};

}  // namespace xIo
