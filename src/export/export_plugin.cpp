#include "export/export_plugin.h"

#include <cstdlib>
#include <cstring>

#include "export/tool_check.h"

namespace {

// The library's string table.
struct StringResource {
    int id;
    const char* text;
};
constexpr StringResource kStrings[] = {
    {1, "QELExport"},
    {2, "Standard"},
    {4, "3D Studio MAX to QEL Model Scene Exporter"},
    {5, "QEL Model Scene Export"},
    {6, "Copyright (C) QEL pipeline team"},
    {9, "QEL Model exporter"},
};

ExpClassDesc& TheClassDesc() {
    static ExpClassDesc desc;
    return desc;
}

}  // namespace

const char* LoadResourceString(int id) {
    static char buffer[256];
    for (const StringResource& s : kStrings) {
        if (s.id != id) continue;
        std::strncpy(buffer, s.text, sizeof buffer - 1);
        buffer[sizeof buffer - 1] = 0;
        return buffer;
    }
    return nullptr;
}

Export::Export() {
    const char* tools = std::getenv(tool_check::kToolsFolderVariable);
    settings_.toolsFolder = tools && *tools ? tools : tool_check::kDefaultToolsFolder;
    settings_.installedFolder = tool_check::InstalledFolder();
}

host::ClassId Export::ClassID() const { return kExportClassId; }
const char* Export::LongDesc() { return LoadResourceString(4); }
const char* Export::ShortDesc() { return LoadResourceString(5); }
const char* Export::AuthorName() { return "QEL pipeline team"; }
const char* Export::CopyrightMessage() { return LoadResourceString(6); }

int Export::DoExport(const std::string&, host::ExportInterface*, host::Application* app, bool suppress_prompts,
                     uint32_t options) {
    if (app == nullptr) return 1;
    settings_.suppressPrompts = suppress_prompts;
    settings_.exportSelected = (options & host::kExportSelected) != 0;
    return export_driver::RunExport(*app, options_, settings_, &summary_);
}

bool Export::SupportsOptions(int, uint32_t options) { return options == host::kExportSelected; }

std::unique_ptr<host::ReferenceTarget> ExpClassDesc::Create(host::PluginServices&, bool) {
    return std::make_unique<Export>();
}

const char* ExpClassDesc::ClassName() const { return LoadResourceString(1); }
host::ClassId ExpClassDesc::ClassID() const { return kExportClassId; }
const char* ExpClassDesc::Category() const { return LoadResourceString(2); }

extern "C" {

const char* LibDescription() { return LoadResourceString(9); }
int LibNumberClasses() { return 1; }
host::ClassDesc* LibClassDesc(int i) { return i == 0 ? &TheClassDesc() : nullptr; }
uint32_t LibVersion() { return 0x2EE02100u; }
int CanAutoDefer() { return 1; }

}
