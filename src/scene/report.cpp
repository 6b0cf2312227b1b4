#include "scene/report.h"

#include "scene/messages.h"

namespace scene {

void Reporter::Show(const std::string& text, const std::string& caption, bool error, bool owned) {
    host::MessageBoxRequest request;
    request.owner = owned ? app_.GetMainWindow() : nullptr;
    request.text = text;
    request.caption = caption;
    request.icon = error ? host::MessageBoxIcon::kError : host::MessageBoxIcon::kWarning;
    if (error) ++errors_;
    app_.ShowMessageBox(request);
}

void Reporter::Error(const std::string& text) { Show(text, Message(msg::kCaptionError), true, true); }
void Reporter::Error(const std::string& text, const std::string& caption) { Show(text, caption, true, true); }
void Reporter::ErrorUnowned(const std::string& text) { Show(text, Message(msg::kCaptionError), true, false); }
void Reporter::Warning(const std::string& text) { Show(text, Message(msg::kCaptionWarning), false, true); }

}  // namespace scene
