#pragma once
// Resource names: how a name given by a caller or an input file becomes a
// resource path (starting with a slash, forward slashes, lower case).
#include <string>
#include <vector>

namespace xIo::xRepository {

/// The calling thread's stack of directories of the resources being read,
/// innermost last; relative names are resolved against its top.
class ePaths {
public:
    /// The calling thread's stack.
    static ePaths& Current();

    /// directory: a resource path ending in a slash.
    void Push(const std::string& directory) { stack_.push_back(directory); }
    void Pop() {
        if (!stack_.empty()) stack_.pop_back();
    }
    /// The innermost directory; "/" while the stack is empty.
    std::string Top() const { return stack_.empty() ? std::string("/") : stack_.back(); }
    size_t Depth() const { return stack_.size(); }

private:
    std::vector<std::string> stack_;
};

/// Pushes the directory of a resource path on this thread's ePaths for its
/// lifetime.
class ePathScope {
public:
    explicit ePathScope(const std::string& resource_path);
    ~ePathScope() { ePaths::Current().Pop(); }
    ePathScope(const ePathScope&) = delete;
    ePathScope& operator=(const ePathScope&) = delete;
};

/// The resource path of name: backslashes become slashes and letters lower
/// case; "/..." is taken as it is; "@/..." starts in the user's folder;
/// anything else is relative to ePaths' top, each leading "../" taking one
/// directory off. "." and ".." components are folded wherever they are, so a
/// resolved path never climbs above the root. Raises "%1%: Wrong resource
/// name syntax" for "@" without "/" and "%1%: Attempting to reach path
/// outside resources" when ".." climbs above the root (io/repository).
std::string ResolveName(const std::string& name);

/// The user's folder that "@/" stands for: the documents folder (on Linux the
/// XDG documents folder, else $HOME/Documents), normalised, joined with the
/// application's user-folder name; ends in a slash.
std::string UserFolder();
/// The application's user-folder name (empty unless set).
void SetUserFolderName(const std::string& name);

}  // namespace xIo::xRepository
