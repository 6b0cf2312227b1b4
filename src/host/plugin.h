#pragma once
// The plug-in side of the host: what a plug-in library hands the host (class
// descriptors, a scene exporter's answers) and the services the host offers
// plug-in objects (parameter blocks, dialog models, message boxes).
#include <cstdint>
#include <memory>
#include <string>

#include "host/param_block.h"
#include "host/param_map.h"
#include "host/ui.h"

namespace host {

class Application;

/// What the host offers the objects a plug-in creates.
class PluginServices {
public:
    virtual ~PluginServices() = default;
    /// A new block holding the defaults of desc (which must outlive it), owned
    /// by the caller; owner (may be null) is told about changes.
    virtual std::unique_ptr<ParamBlock> CreateParamBlock(const ParamBlockDesc& desc, ReferenceTarget* owner) = 0;
    /// A new dialog model for block, owned by the caller; its controls start
    /// enabled and showing the block's values.
    virtual std::unique_ptr<ParamMap> CreateParamMap(ParamBlock& block) = 0;
    virtual WindowHandle GetMainWindow() const = 0;
    virtual MessageBoxResult ShowMessageBox(const MessageBoxRequest& request) = 0;
};

/// Describes one class of a plug-in library to the host.
class ClassDesc {
public:
    virtual ~ClassDesc() = default;
    virtual bool IsPublic() const { return true; }
    /// A new object of the class, owned by the caller. With loading true the
    /// object is about to be loaded and need not set itself up.
    virtual std::unique_ptr<ReferenceTarget> Create(PluginServices& services, bool loading) = 0;
    virtual const char* ClassName() const = 0;
    virtual const char* InternalName() const { return ClassName(); }
    virtual SuperClassId SuperClassID() const = 0;
    virtual ClassId ClassID() const = 0;
    virtual const char* Category() const = 0;
    virtual int NumParamBlockDescs() const { return 0; }
    /// Parameter block descriptor i, or null.
    virtual const ParamBlockDesc* GetParamBlockDesc(int /*i*/) const { return nullptr; }
};

/// The entry points of a plug-in library, gathered.
struct PluginLibrary {
    const char* (*description)() = nullptr;
    int (*numberClasses)() = nullptr;
    ClassDesc* (*classDesc)(int i) = nullptr;
    uint32_t (*version)() = nullptr;
};

/// The export interface the host passes to DoExport; the exporter ignores it.
class ExportInterface;

// Bits of DoExport's options.
enum : uint32_t { kExportSelected = 0x1 };

/// A scene exporter. Text answers may be null when a string resource is missing.
class SceneExport : public ReferenceTarget {
public:
    SuperClassId SuperClassID() const override { return kSceneExportClass; }

    /// The number of file extensions the exporter writes.
    virtual int ExtCount() = 0;
    /// Extension n without its dot; "" past the last.
    virtual const char* Ext(int n) = 0;
    virtual const char* LongDesc() = 0;
    virtual const char* ShortDesc() = 0;
    virtual const char* AuthorName() = 0;
    virtual const char* CopyrightMessage() = 0;
    virtual const char* OtherMessage1() = 0;
    virtual const char* OtherMessage2() = 0;
    /// The version times 100.
    virtual unsigned int Version() = 0;
    virtual void ShowAbout(WindowHandle owner) = 0;
    /// Runs one export; name is the file the artist picked.
    virtual int DoExport(const std::string& name, ExportInterface* ei, Application* app, bool suppress_prompts,
                         uint32_t options) = 0;
    /// True when the exporter supports the DoExport options bits for ext.
    virtual bool SupportsOptions(int ext, uint32_t options) = 0;
};

}  // namespace host
