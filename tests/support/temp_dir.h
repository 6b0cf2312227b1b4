#pragma once
#include <string>
#include <vector>

namespace qeltest {

/// A fresh directory under the system's temporary folder, removed with
/// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }
    /// path() + "/" + name
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
bool Exists(const std::string& path);
/// Every regular file under dir, as paths relative to it with '/', sorted.
std::vector<std::string> FilesUnder(const std::string& dir);

}  // namespace qeltest
