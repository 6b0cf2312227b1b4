#pragma once
// How the exporter tells the artist about problems in a scene: host message
// boxes, errors with the caption "Ошибка" and the error icon, warnings with
// "Предупреждение" and the warning icon. The export goes on after each, so
// one export shows every problem it finds.
#include <string>

#include "host/application.h"

namespace scene {

class Reporter {
public:
    explicit Reporter(host::Application& app) : app_(app) {}

    /// An error box owned by the host window; text in code page 1251.
    void Error(const std::string& text);
    /// An error box owned by the host window, with a caption of its own.
    void Error(const std::string& text, const std::string& caption);
    /// An error box without an owner window.
    void ErrorUnowned(const std::string& text);
    /// A warning box owned by the host window.
    void Warning(const std::string& text);

    /// Number of error boxes shown so far.
    int ErrorCount() const { return errors_; }

private:
    void Show(const std::string& text, const std::string& caption, bool error, bool owned);

    host::Application& app_;
    int errors_ = 0;
};

}  // namespace scene
