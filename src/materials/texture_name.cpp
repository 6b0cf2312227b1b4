#include "materials/texture_name.h"

#include "base/format.h"
#include "host/class_id.h"
#include "io/file_system.h"
#include "io/name.h"
#include "materials/map_files.h"
#include "materials/messages.h"
#include "scene/messages.h"
#include "scene/paths.h"

namespace materials {

namespace {

bool EndsWith(const std::string& text, const char* tail) {
    const std::string_view t(tail);
    return text.size() >= t.size() && text.compare(text.size() - t.size(), t.size(), t) == 0;
}

bool HasEngineFormatText(const std::string& file) {
    return file.find(".bmp") != std::string::npos || file.find(".tga") != std::string::npos ||
           file.find(".dds") != std::string::npos;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    std::string head = text.substr(0, prefix.size()), p = prefix;
    xIo::NormalizePath(head);
    xIo::NormalizePath(p);
    return head == p;
}

// A remainder that stays inside the folder it is joined to: relative,
// without a drive and without a ".." component.
bool StaysInside(const std::string& relative) {
    if (relative.empty() || relative.front() == '/' || relative.find(':') != std::string::npos) return false;
    return !scene::HasParentComponent(relative);
}

}  // namespace

std::string GeneratedName(int group, int layer, const std::string& extension) {
    std::string name = "tex" + (format("%1%_%2%") % group % layer).str();
    xIo::NormalizePath(name);
    return name + extension;
}

TextureName NameTexture(const TexturePaths& paths, const host::Material* material, const host::Texture& texture,
                        int layer, int group, const std::string& extension, scene::Reporter& report) {
    TextureName result;
    const host::ClassId id = texture.ClassID();
    if (id == host::kBitmapTextureClassId || id == host::kNormalBumpClassId) {
        std::vector<std::string> files = MapFiles(texture);
        if (!files.empty()) result.file = files.front();
    }
    if (result.file.empty()) {
        result.name = GeneratedName(group, layer, extension);
        return result;
    }

    std::string f = result.file;
    xIo::NormalizePath(f);
    const bool bump_map = material != nullptr && material->GetSubTexmap(host::kMapBump) == &texture;
    if (bump_map || !HasEngineFormatText(f)) f = xIo::GetPart(f, xIo::ePart::Stem) + extension;
    if (!StartsWithIgnoringCase(f, paths.commonTextureSourcePath)) {
        result.name = xIo::GetPart(f, xIo::ePart::FileName);
        return result;
    }

    const std::string relative = f.substr(paths.commonTextureSourcePath.size());
    if (!StaysInside(relative)) {
        result.name = GeneratedName(group, layer, extension);
        report.Error(format(scene::Message(msg::kSharedTextureOutside)) % result.file % paths.commonTextureSourcePath %
                     result.name);
        return result;
    }
    result.shared = true;
    result.name = "$/" + relative;
    return result;
}

std::string DestinationPath(const TexturePaths& paths, const TextureName& name) {
    if (!name.shared) return scene::JoinPath(paths.commonDir, name.name);
    return scene::JoinPath(scene::JoinPath(paths.gameResourcePath, paths.commonTexturePathInGame), name.name.substr(2));
}

std::string StoredName(const std::string& name) { return xIo::GetPart(name, xIo::ePart::WithoutExtension); }

std::string ExtensionOf(const std::string& path) { return xIo::GetPart(path, xIo::ePart::Extension); }

std::string WithExtension(const std::string& path, const std::string& extension) {
    return StoredName(path) + extension;
}

bool IsEngineFormat(const std::string& path) {
    std::string file = path;
    xIo::NormalizePath(file);
    return EndsWith(file, ".bmp") || EndsWith(file, ".tga") || EndsWith(file, ".dds");
}

}  // namespace materials
