#include "materials/map_files.h"

namespace materials {

namespace {

class GetMapFiles : public host::NameEnumCallback {
public:
    explicit GetMapFiles(std::vector<std::string>& files) : files_(files) {}
    void RecordName(const std::string& name) override { files_.push_back(name); }

private:
    std::vector<std::string>& files_;
};

}  // namespace

std::vector<std::string> MapFiles(const host::Texture& texture) {
    std::vector<std::string> files;
    GetMapFiles callback(files);
    texture.EnumAuxFiles(callback, host::kFileEnumAll);
    if (files.empty()) texture.EnumAuxFiles(callback, host::kFileEnumSkipChecked);
    return files;
}

}  // namespace materials
