#include "layers/layer_check.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace layers {

namespace {

using Names = std::set<std::string>;

// What each library under src/ may include, itself included. The middle
// layer's libraries share the layers below them; among themselves animation
// and materials build on geometry, materials on texture_tools, and volumes on
// model (its placement writer). The simulated host and the import sit beside
// the exporter, on the host layer; the material plug-in shares nothing with
// the exporter but the host layer.
const std::map<std::string, Names>& Allowed() {
    static const Names kCore = {"base", "io", "host", "scene"};
    static const std::map<std::string, Names> kAllowed = {
        {"base", {"base"}},
        {"io", {"base", "io"}},
        {"host", {"base", "io", "host"}},
        {"scene", kCore},
        {"model", {"base", "io", "host", "scene", "model"}},
        {"geometry", {"base", "io", "host", "scene", "geometry"}},
        {"texture_tools", {"base", "io", "texture_tools"}},
        {"animation", {"base", "io", "host", "scene", "geometry", "animation"}},
        {"materials", {"base", "io", "host", "scene", "geometry", "texture_tools", "materials"}},
        {"volumes", {"base", "io", "host", "scene", "model", "volumes"}},
        {"export",
         {"base", "io", "host", "scene", "model", "geometry", "texture_tools", "animation", "materials", "volumes",
          "export"}},
        {"sim", {"base", "io", "host", "sim"}},
        {"import", {"base", "io", "host", "sim", "import"}},
        {"material_plugin", {"base", "io", "host", "material_plugin"}},
    };
    return kAllowed;
}

// Everything under src/ is open to the programs, and so are the
// programs' own folders (qelinspect/...).
bool IsLibrary(const std::string& name) { return Allowed().count(name) != 0; }

// Headers of the operating system: only platform files may include them.
bool IsSystemHeader(const std::string& name) {
    static const Names kExact = {"unistd.h", "dlfcn.h", "fcntl.h", "dirent.h", "aio.h",     "pthread.h",
                                 "signal.h", "pwd.h",   "windows.h", "io.h",    "direct.h", "winnetwk.h"};
    return kExact.count(name) != 0 || name.rfind("sys/", 0) == 0;
}

// The files that talk to the operating system: the platform files of each
// library, the io library's file system side, and the programs.
bool IsPlatformFile(const std::string& relative) {
    static const Names kIoSystemSide = {
        "src/io/file_system.cpp",  "src/io/stream_file.cpp", "src/io/stream_read_async.cpp",
        "src/io/storage_file.cpp", "src/io/repository.cpp",  "src/io/zip_container.cpp",
        "src/io/resource_name.cpp",
    };
    std::string file = fs::path(relative).filename().string();
    if (file.rfind("platform_", 0) == 0) return true;
    if (relative.rfind("apps/", 0) == 0) return true;
    return kIoSystemSide.count(relative) != 0;
}

std::vector<Violation> CheckFile(const fs::path& root, const fs::path& path) {
    static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::string relative = fs::relative(path, root).generic_string();
    fs::path parts = fs::relative(path, root);
    auto it = parts.begin();
    std::string top = it->string();
    std::string library = ++it != parts.end() ? it->string() : std::string();

    std::vector<Violation> found;
    std::ifstream in(path);
    std::string text;
    int line_number = 0;
    while (std::getline(in, text)) {
        ++line_number;
        std::smatch m;
        if (!std::regex_search(text, m, kInclude)) continue;
        std::string included = m[2];
        if (m[1] == "<") {
            if (IsSystemHeader(included) && !IsPlatformFile(relative))
                found.push_back({relative, line_number, included, "system calls belong in the platform files"});
            continue;
        }
        std::string first = included.substr(0, included.find('/'));
        if (first == included || !IsLibrary(first)) continue;  // a file of the same folder, or a program's own
        if (top == "apps") continue;
        if (!IsLibrary(library)) {
            found.push_back({relative, line_number, included, "the folder '" + library + "' is not in the layer order"});
            continue;
        }
        if (Allowed().at(library).count(first) == 0)
            found.push_back({relative, line_number, included, "'" + library + "' may not include '" + first + "'"});
    }
    return found;
}

}  // namespace

std::vector<Violation> CheckTree(const fs::path& root) {
    std::vector<fs::path> files;
    for (const char* top : {"src", "apps"}) {
        if (!fs::exists(root / top)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp")) files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<Violation> all;
    for (const fs::path& file : files) {
        std::vector<Violation> found = CheckFile(root, file);
        all.insert(all.end(), found.begin(), found.end());
    }
    return all;
}

std::string Describe(const std::vector<Violation>& violations) {
    std::ostringstream out;
    for (const Violation& v : violations)
        out << v.file << ":" << v.line << ": #include \"" << v.included << "\": " << v.reason << "\n";
    return out.str();
}

}  // namespace layers
