#pragma once
// The exporter as the host sees it: the scene-export object with its
// descriptive answers, its class descriptor and the library's entry points.
#include <memory>
#include <string>

#include "export/export_driver.h"
#include "host/plugin.h"

/// The scene-export object the host creates for each export.
class Export : public host::SceneExport {
public:
    Export();

    host::ClassId ClassID() const override;

    int ExtCount() override { return 1; }
    const char* Ext(int n) override { return n == 0 ? "MDL" : ""; }
    const char* LongDesc() override;
    const char* ShortDesc() override;
    const char* AuthorName() override;
    const char* CopyrightMessage() override;
    const char* OtherMessage1() override { return ""; }
    const char* OtherMessage2() override { return ""; }
    unsigned int Version() override { return 1; }
    void ShowAbout(host::WindowHandle) override {}
    /// Runs one export; the file name and the export interface are not used.
    /// Returns 1 in every case.
    int DoExport(const std::string& name, host::ExportInterface* ei, host::Application* app, bool suppress_prompts,
                 uint32_t options) override;
    /// True exactly for the export-selected bit.
    bool SupportsOptions(int ext, uint32_t options) override;

    /// Where this export reads and saves its configuration (default: the
    /// host's plug-in configuration folder).
    void SetConfigPath(std::string path) { settings_.configPath = std::move(path); }
    /// The shared tools folder the tool check compares with.
    void SetToolsFolder(std::string folder) { settings_.toolsFolder = std::move(folder); }
    /// The folder of the installed plug-in files the tool check compares
    /// (default: the folder of this module).
    void SetInstalledFolder(std::string folder) { settings_.installedFolder = std::move(folder); }
    /// How the options dialog is shown; without one the options stand.
    void SetDialogRunner(export_driver::DialogRunner runner) { settings_.dialog = std::move(runner); }

    const ExportOptions& Options() const { return options_; }
    /// What became of the models of the last export.
    const export_driver::ExportSummary& LastSummary() const { return summary_; }

private:
    ExportOptions options_;
    export_driver::ExportSummary summary_;
    export_driver::ExportSettings settings_;
};

/// The exporter's class descriptor.
class ExpClassDesc : public host::ClassDesc {
public:
    bool IsPublic() const override { return true; }
    std::unique_ptr<host::ReferenceTarget> Create(host::PluginServices& services, bool loading) override;
    const char* ClassName() const override;
    host::SuperClassId SuperClassID() const override { return host::kSceneExportClass; }
    host::ClassId ClassID() const override;
    const char* Category() const override;
};

/// The class identity of the exporter.
inline constexpr host::ClassId kExportClassId{0x5FD31026, 0x0E63557D};

/// A string of the library's string table in one shared 256-byte buffer,
/// valid until the next lookup; null when the table has no such string.
const char* LoadResourceString(int id);

extern "C" {
const char* LibDescription();
int LibNumberClasses();
host::ClassDesc* LibClassDesc(int i);
uint32_t LibVersion();
int CanAutoDefer();
}
