#pragma once
// A disk file as a stream. A file opened for writing is written to a
// temporary file beside it and moved over its real name when closed, so an
// interrupted export never leaves a half-written file under a real name; the
// direct mode writes in place instead.
#include <functional>
#include <string>

#include "io/platform_file.h"
#include "io/stream.h"

namespace xIo {

/// Called with the name of every file a stream finished writing (committed,
/// or closed in the direct mode), so a tool can list what an export wrote.
using FileWrittenHook = std::function<void(const std::string& name)>;
void SetFileWrittenHook(FileWrittenHook hook);

/// A file operation of a stream that failed, with the local paths and the
/// system's reason. The core library's messages keep their fixed texts
/// ("%1% - open error!"); a tool that shows more reads this.
struct FileFailure {
    enum class Step {
        kOpen,             ///< opening the file itself
        kCreateTemporary,  ///< creating the temporary file beside the target
        kRefusedTarget,    ///< the target is no regular file, or is read-only
        kRead,
        kWrite,
        kReplace,          ///< moving the temporary file over the target
    };
    Step step = Step::kOpen;
    std::string name;           ///< the file as the caller named it
    std::string localPath;      ///< the target on this machine
    std::string temporaryPath;  ///< the temporary file on this machine, if any
    std::string reason;         ///< the system's words, or why the target was refused
    /// One line for a person: what failed, where, and why.
    std::string Describe() const;
};
/// Called with every failure of a stream opened for writing (and every read
/// error), before the error is raised or Open returns false.
using FileFailureHook = std::function<void(const FileFailure& failure)>;
void SetFileFailureHook(FileFailureHook hook);

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
    ///
    /// Writing (unless direct) creates a new temporary file "<name>.<unique
    /// tag>.tmp" beside the target: only a name nothing holds yet is taken,
    /// and a link planted at it is never followed. A target that exists and
    /// is no regular file (a folder, link, device or pipe) or is read-only
    /// is refused, as the host platform's file creation refuses it; the
    /// direct mode refuses only a read-only file.
    bool Open(const std::string& name, uint32_t mode, int32_t buffer_size);
    /// Writes back, closes the file and commits the temporary file. A failed
    /// write raises "%1% - write error (%2%)!" after removing the temporary
    /// file, so the target keeps its previous content. A target that became
    /// unfit since Open, or a failed move, asks Retry/Cancel as Open does
    /// (Cancel raises "%1% - open error!" with the name; the temporary file
    /// stays).
    void Close();
    /// Closes without committing: the temporary file is removed and the
    /// target keeps its previous content (a direct-mode file stays as written).
    void Discard() { Abandon(); }
    bool IsOpen() const { return handle_ != xOs::kNoHandle; }
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
    /// One attempt to open; false after reporting the failure, with the name
    /// that the error message carries in failed_name.
    bool TryOpen(std::string& failed_name);
    /// Creates the temporary file under a fresh name.
    int CreateTemporary();
    /// One attempt to move the temporary file over the target; false after
    /// reporting the failure.
    bool TryCommit();
    /// A reason to refuse the existing target, or "" when it may be replaced.
    std::string RefusalOfTarget(bool replacing, int& error) const;
    void ReportFailure(FileFailure::Step step, const std::string& reason) const;
    /// Asks Retry/Cancel about path; returns true for Retry, raises on Cancel.
    bool AskRetry(const std::string& path) const;
    /// Closes the handle and removes the temporary file.
    void Abandon();
    /// A write or flush failed: abandon the file and raise the error.
    [[noreturn]] void WriteFailed(int error);

    std::string name_;
    std::string local_;           ///< name_ on this machine
    std::string temporary_;       ///< the temporary file's name, as name_ is spelled
    std::string temporaryLocal_;  ///< the temporary file on this machine
    xOs::Handle handle_ = xOs::kNoHandle;
    bool pendingCommit_ = false;
    int uncaughtAtOpen_ = 0;
};

}  // namespace xIo
