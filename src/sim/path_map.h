#pragma once
// Host paths ("d:/thegame/units/tank.mdl", code page 1251) to paths of this
// machine: the longest matching prefix wins; prefixes compare without regard
// to ASCII case and slash direction; the rest of the path is converted to
// UTF-8 and appended to the prefix's folder. A path that no prefix matches is
// used as it is when it has no drive letter, and refused through the error
// channel when it has one.
#include <string>
#include <vector>

namespace sim {

class PathMap {
public:
    /// Serves host paths starting with prefix (code page 1251) from folder
    /// (a local path, its case kept); a prefix added again replaces its folder.
    void Add(const std::string& prefix, const std::string& folder);
    /// The local path of host_path; raises an error for an unmatched path with a drive letter.
    std::string Map(const std::string& host_path) const;
    /// True when an entry's prefix matches host_path.
    bool Serves(const std::string& host_path) const;
    /// The same without raising: false for an unmatched path with a drive letter.
    bool TryMap(const std::string& host_path, std::string& local_path) const;
    /// Makes this map the one every file operation of the core library uses
    /// (xIo::SetPathMapper); the map must outlive the installation.
    void Install() const;
    /// Restores the identity mapping.
    static void Uninstall();

private:
    struct Entry {
        std::string key;  // the prefix, lower-cased with forward slashes
        std::string folder;
    };
    std::vector<Entry> entries_;
};

}  // namespace sim
