#pragma once
// Dialog 103, "QEL Model Export", as a model: its controls, their values and
// the rules of its buttons. A real dialog on Windows and the command line's
// flags both drive this one model, so they share one set of rules.
#include <map>
#include <string>
#include <vector>

#include "scene/export_options.h"

namespace options_dialog {

// Control identifiers of dialog 103.
enum ControlId : int {
    kExport = 1,  // OK
    kCancel = 2,
    kMesh = 1002,
    kAnimation = 1003,
    kGeometry = 1008,
    kIk = 1018,
    kLightsCameras = 1019,
    kGameResourcePath = 1021,
    kReverseAnimation = 1022,
    kSelectedOnly = 1023,
    kCommonTextureSource = 1024,
    kRangeStart = 1025,
    kRangeEnd = 1026,
    kCurrentRangeOnly = 1027,
    kCommonTexturePathInGame = 1028,
    kStaticFrameEdit = 1161,
    kStaticFrameSpinner = 1162,
};

enum class ControlKind { Button, CheckBox, Edit, Spinner, Group, Label };

/// One control of the dialog's layout: kind, label (UTF-8) and whether it is
/// shown at all.
struct Control {
    int id;
    ControlKind kind;
    const char* label;
    bool shown;
};

/// The dialog's caption and controls, in layout order; groups and labels
/// carry the id 0.
const char* Caption();
const std::vector<Control>& Layout();

/// What a button press did.
struct Result {
    int closeCode = -1;         ///< 1 Export, 0 Cancel, -1 the dialog stays open
    std::string errorMessage;   ///< code page 1251; to show with caption "Ошибка" when not empty
};

class Model {
public:
    explicit Model(ExportOptions& options) : options_(options) {}

    /// Fills the controls from the options; the Export button is enabled
    /// when the tool check passed. The spinner's limits are the scene's
    /// animation range in frames; it starts at 0.
    void Start(bool tools_current, int32_t range_start_frame, int32_t range_end_frame);

    bool Check(int id) const;
    void SetCheck(int id, bool on);
    const std::string& Text(int id) const;
    void SetText(int id, const std::string& text);
    int32_t SpinnerValue() const { return spinner_; }
    /// Sets the spinner, held within its limits as the control does.
    void SetSpinnerValue(int32_t value);
    int32_t SpinnerMin() const { return spinnerMin_; }
    int32_t SpinnerMax() const { return spinnerMax_; }
    bool ExportEnabled() const { return exportEnabled_; }

    /// Reads the controls into the options in the button's order; an empty
    /// path stops the reading and keeps the dialog open.
    Result PressExport();
    Result PressCancel() { return Result{0, {}}; }

private:
    ExportOptions& options_;
    std::map<int, bool> checks_;
    std::map<int, std::string> texts_;
    int32_t spinner_ = 0;
    int32_t spinnerMin_ = 0;
    int32_t spinnerMax_ = 0;
    bool exportEnabled_ = true;
};

}  // namespace options_dialog
