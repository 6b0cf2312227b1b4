#include "export/config_file.h"

#include <algorithm>
#include <cstring>

#include "base/debug.h"
#include "io/file_system.h"
#include "io/name.h"
#include "io/stream_file.h"
#include "io/stream_memory.h"

namespace {

// The fourteen settings stored as one byte each, in file order.
int32_t ExportOptions::*const kByteFields[] = {
    &ExportOptions::exportMesh,     &ExportOptions::exportAnimation,     &ExportOptions::reserved1,
    &ExportOptions::reserved2,      &ExportOptions::reserved3,           &ExportOptions::exportIK,
    &ExportOptions::reserved4,      &ExportOptions::reserved5,           &ExportOptions::exportGeometry,
    &ExportOptions::reserved6,      &ExportOptions::reserved7,           &ExportOptions::exportLightsCameras,
    &ExportOptions::reserved8,      &ExportOptions::reserved9,
};

void PutPath(xIo::eStream& out, const std::string& path) {
    uint8_t* field = out.Reserve(kConfigPathSize);
    std::memset(field, 0, kConfigPathSize);
    std::memcpy(field, path.data(), std::min<size_t>(path.size(), kConfigPathSize - 1));
}

// Reads fixed-size fields off a byte string, remembering whether any field
// ran past its end.
class FieldReader {
public:
    explicit FieldReader(const std::string& bytes) : bytes_(bytes) {}
    bool Ok() const { return ok_; }
    int32_t Int() {
        int32_t v = 0;
        if (Take(4)) std::memcpy(&v, bytes_.data() + at_ - 4, 4);
        return v;
    }
    uint8_t Byte() { return Take(1) ? static_cast<uint8_t>(bytes_[at_ - 1]) : 0; }
    std::string Path() {
        if (!Take(kConfigPathSize)) return std::string();
        const char* field = bytes_.data() + at_ - kConfigPathSize;
        std::string path(field, strnlen(field, kConfigPathSize));
        xIo::NormalizePath(path);
        return path;
    }

private:
    bool Take(size_t n) {
        if (!ok_ || bytes_.size() - at_ < n) return ok_ = false;
        at_ += n;
        return true;
    }
    const std::string& bytes_;
    size_t at_ = 0;
    bool ok_ = true;
};

}  // namespace

std::string ConfigFileBytes(const ExportOptions& o) {
    xIo::eMemoryStream out(4096);
    out.Put<int32_t>(kConfigVersion);
    for (auto field : kByteFields) out.PutByte(static_cast<uint8_t>(o.*field));
    out.Put<int32_t>(o.ambientPercent);
    out.Put<int32_t>(1);
    out.PutByte(static_cast<uint8_t>(o.reserved10));
    out.Put<int32_t>(o.reserved11);
    PutPath(out, o.gameResourcePath);
    out.PutByte(o.reverseAnimation);
    out.PutByte(o.selectedOnly);
    PutPath(out, o.commonTextureSourcePath);
    out.PutByte(o.currentRangeOnly);
    PutPath(out, o.commonTexturePathInGame);
    return std::string(out.Data());
}

int32_t ConfigFileSize(int32_t version) {
    // version, the byte settings, ambient and the constant 1, then what each
    // later version added.
    static const int32_t kSizes[] = {0, 26, 27, 1057, 2081, 2082, 3106};
    return version >= 1 && version <= kConfigVersion ? kSizes[version] : 0;
}

bool ParseConfigFile(const std::string& bytes, ExportOptions& options) {
    FieldReader in(bytes);
    int32_t version = in.Int();
    if (!in.Ok() || version < 1 || version > kConfigVersion) return false;
    if (bytes.size() != static_cast<size_t>(ConfigFileSize(version))) return false;
    ExportOptions o = options;
    for (auto field : kByteFields) o.*field = in.Byte();
    o.ambientPercent = in.Int();
    in.Int();  // always 1, carries nothing
    if (version > 1) o.reserved10 = in.Byte();
    if (version > 2) {
        o.reserved11 = in.Int();
        o.gameResourcePath = in.Path();
        o.reverseAnimation = in.Byte() != 0;
        o.selectedOnly = in.Byte() != 0;
    }
    if (version > 3) o.commonTextureSourcePath = in.Path();
    if (version > 4) o.currentRangeOnly = in.Byte() != 0;
    if (version > 5) o.commonTexturePathInGame = in.Path();
    if (!in.Ok()) return false;
    options = o;
    return true;
}

namespace {

// The bytes of the file at path, at most one more than the largest version
// holds, so a larger file is seen to be larger without being read whole.
scene::StepResult ReadConfigBytes(const std::string& path, std::string& bytes) {
    // The stream layer raises on read errors; here they become the result.
    xDebug::eExceptionMode throwing(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        if (!xIo::FileExists(path)) return scene::StepResult::Skipped("there is no configuration file");
        xIo::eFileStream file;
        if (!file.Open(path, xIo::kModeRead, 8192)) return scene::StepResult::Failed("the file cannot be opened");
        int32_t size = std::min<int32_t>(file.Size(), ConfigFileSize(kConfigVersion) + 1);
        bytes.assign(static_cast<size_t>(size), '\0');
        file.Read(bytes.data(), size);
        file.Close();
        return scene::StepResult::Done();
    } catch (const xDebug::eEx_Custom& e) {
        return scene::StepResult::Failed(e.message);
    }
}

}  // namespace

ConfigFileCheck CheckConfigFile(const std::string& path) {
    std::string bytes;
    scene::StepResult read = ReadConfigBytes(path, bytes);
    if (read.IsSkipped()) return {ConfigFileState::kMissing, {}};
    if (!read.IsDone()) return {ConfigFileState::kUnreadable, read.reason()};
    ExportOptions scratch;
    return {ParseConfigFile(bytes, scratch) ? ConfigFileState::kValid : ConfigFileState::kForeign, {}};
}

scene::StepResult LoadOptions(const std::string& path, ExportOptions& options) {
    std::string bytes;
    scene::StepResult read = ReadConfigBytes(path, bytes);
    if (!read.IsDone()) return read;
    if (!ParseConfigFile(bytes, options)) return scene::StepResult::Failed("it is not a configuration file");
    return scene::StepResult::Done();
}

scene::StepResult SaveOptions(const std::string& path, const ExportOptions& options) {
    xDebug::eExceptionMode throwing(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        std::string folder = path;
        for (char& c : folder)
            if (c == '\\') c = '/';
        xIo::MakeDirectories(xIo::GetPart(folder, xIo::ePart::Directory));
        std::string bytes = ConfigFileBytes(options);
        xIo::eFileStream file;
        if (!file.Open(path, xIo::kModeWrite | xIo::kModeTruncate, 8192))
            return scene::StepResult::Failed("the file cannot be created");
        file.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
        file.Close();
        return scene::StepResult::Done();
    } catch (const xDebug::eEx_Custom& e) {
        return scene::StepResult::Failed(e.message);
    }
}
