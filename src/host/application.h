#pragma once
// The host application as a plug-in sees it: scene root, time and units,
// scene path, named selection sets, progress, hold, message boxes and the
// command panel.
#include <string>

#include "host/math_color.h"
#include "host/time.h"
#include "host/ui.h"

namespace host {

class Node;

// Command panel modes.
enum : int { kPanelCreate = 1, kPanelModify = 2, kPanelUtility = 6 };

class Application {
public:
    virtual ~Application() = default;

    /// The host's main window, the owner of dialogs and message boxes.
    virtual WindowHandle GetMainWindow() const = 0;
    /// The scene root; never null.
    virtual Node* GetRootNode() const = 0;
    /// The first node named name (exact bytes) in a depth-first walk, or null.
    virtual Node* GetNodeByName(const std::string& name) const = 0;

    /// The animation range in ticks.
    virtual Interval GetAnimRange() const = 0;
    virtual int GetTicksPerFrame() const = 0;
    /// Metres per system unit.
    virtual double GetMasterScaleMeters() const = 0;
    /// The ambient light colour at t.
    virtual Color GetAmbient(TimeValue t) const = 0;

    /// The full path of the open scene, code page 1251.
    virtual const std::string& GetCurFilePath() const = 0;
    /// The user name the platform reports.
    virtual std::string GetUserName() const = 0;
    /// The universal (network) name of path; false when there is none.
    virtual bool GetUniversalName(const std::string& path, std::string& universal) const = 0;
    /// The folder of plug-in configuration files.
    virtual std::string GetPlugCfgDir() const = 0;

    virtual int GetNumNamedSelSets() const = 0;
    /// The name of set i, code page 1251.
    virtual std::string GetNamedSelSetName(int i) const = 0;
    virtual int GetNamedSelSetItemCount(int i) const = 0;
    /// Node j of set i, or null when out of range.
    virtual Node* GetNamedSelSetItem(int i, int j) const = 0;

    virtual Progress& GetProgress() = 0;
    virtual Hold& GetHold() = 0;
    /// Shows a message box and returns the answer.
    virtual MessageBoxResult ShowMessageBox(const MessageBoxRequest& request) = 0;

    virtual void SetCommandPanelTaskMode(int mode) = 0;
    virtual int GetCommandPanelTaskMode() const = 0;
};

}  // namespace host
