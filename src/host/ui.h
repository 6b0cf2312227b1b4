#pragma once
// The host's user-facing services: message boxes, the progress display and
// the undo hold.
#include <string>

namespace host {

/// An opaque window handle; null means no owner.
using WindowHandle = void*;

enum class MessageBoxIcon { kNone, kError, kWarning, kInformation };
enum class MessageBoxButtons { kOk, kOkCancel, kYesNo, kYesNoCancel, kRetryCancel };
/// The answer of a box (the platform's values).
enum class MessageBoxResult { kOk = 1, kCancel = 2, kRetry = 4, kYes = 6, kNo = 7 };

struct MessageBoxRequest {
    WindowHandle owner = nullptr;  ///< the host window, or null
    std::string text;              ///< code page 1251
    std::string caption;           ///< code page 1251
    MessageBoxIcon icon = MessageBoxIcon::kNone;
    MessageBoxButtons buttons = MessageBoxButtons::kOk;
};

/// The progress display and its cancel button.
class Progress {
public:
    virtual ~Progress() = default;
    /// Shows the display with title (code page 1251).
    virtual void Start(const std::string& title) = 0;
    /// Sets the bar to percent (0..100).
    virtual void Update(int percent) = 0;
    /// Changes the title of the display that is shown (code page 1251).
    virtual void SetTitle(const std::string& title) = 0;
    virtual void End() = 0;
    /// True once the artist asked to cancel.
    virtual bool GetCancel() = 0;
    virtual void SetCancel(bool cancel) = 0;
};

/// The undo hold: scene changes made between Begin and Cancel are undone by
/// Cancel. Holds nest.
class Hold {
public:
    virtual ~Hold() = default;
    virtual void Begin() = 0;
    /// Undoes the changes since the matching Begin and closes that level.
    virtual void Cancel() = 0;
    /// Keeps the changes since the matching Begin and closes that level.
    virtual void Accept() = 0;
    /// True while a hold is open.
    virtual bool Holding() const = 0;
};

}  // namespace host
