#pragma once
// The model of a plug-in's dialog controls built from a parameter block
// descriptor: the value each control shows, whether it is enabled, and the
// refresh from the block. The artist's actions go through SetFromUser, which
// writes the block as the control would.
#include <string>

#include "host/param_block.h"

namespace host {

class ParamMap;

/// A plug-in's hook into its dialog: called on each refresh so it can enable
/// or disable controls.
class ParamMapUserDlgProc {
public:
    virtual ~ParamMapUserDlgProc() = default;
    virtual void Update(ParamMap& map, TimeValue t) = 0;
    /// Asked before a material or texture the artist dropped on the control of
    /// id is stored; false refuses it and the block keeps its old value.
    virtual bool AcceptDrop(ParamMap& /*map*/, int /*id*/, ReferenceTarget* /*value*/) { return true; }
};

class ParamMap {
public:
    virtual ~ParamMap() = default;

    virtual ParamBlock& GetParamBlock() const = 0;
    /// Installs the plug-in's hook (may be null); not owned.
    virtual void SetUserDlgProc(ParamMapUserDlgProc* proc) = 0;

    /// Copies the block's value of id into its control; id −1 refreshes every
    /// control. Each refresh ends with the hook's Update.
    virtual void Invalidate(int id = -1) = 0;
    /// Enables or disables the control of id.
    virtual void Enable(int id, bool enabled) = 0;
    /// False for a disabled control and for an id without control.
    virtual bool IsEnabled(int id) const = 0;
    /// How many refreshes of id happened (a refresh of all counts for each).
    virtual int RefreshCount(int id) const = 0;

    /// The value the control of id shows, as text: integers and bools in
    /// decimal, floats in %g form, colours "r g b", materials and textures by
    /// name ("None" when empty).
    virtual std::string ShownValue(int id) const = 0;

    /// The artist sets an integer, radio button index or check box.
    virtual bool SetFromUser(int id, int value) = 0;
    /// The artist types a float into a spinner.
    virtual bool SetFromUser(int id, float value) = 0;
    /// The artist drops a material onto a material button.
    virtual bool SetFromUser(int id, Material* value) = 0;
    /// The artist drops a texture onto a map button.
    virtual bool SetFromUser(int id, Texture* value) = 0;
};

}  // namespace host
