#include "qelinspect/file_bytes.h"

#include <fstream>
#include <iterator>
#include <ostream>

namespace qelinspect {

bool ReadFileBytes(const std::string& command, const std::string& path, std::string& bytes, std::ostream& err) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        err << "qelinspect " << command << ": " << path << ": cannot open the file\n";
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        err << "qelinspect " << command << ": " << path << ": cannot read the file\n";
        return false;
    }
    return true;
}

}  // namespace qelinspect
