#include "scene/report.h"

#include "scene/messages.h"

namespace scene {

void Reporter::Show(const std::string& text, bool error, bool owned) {
    host::MessageBoxRequest request;
    request.owner = owned ? app_.GetMainWindow() : nullptr;
    request.text = text;
    request.caption = Message(error ? msg::kCaptionError : msg::kCaptionWarning);
    request.icon = error ? host::MessageBoxIcon::kError : host::MessageBoxIcon::kWarning;
    if (error) ++errors_;
    app_.ShowMessageBox(request);
}

void Reporter::Error(const std::string& text) { Show(text, true, true); }
void Reporter::ErrorUnowned(const std::string& text) { Show(text, true, false); }
void Reporter::Warning(const std::string& text) { Show(text, false, true); }

}  // namespace scene
