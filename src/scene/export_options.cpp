#include "scene/export_options.h"

#include "io/file_system.h"

ExportOptions InitialOptions() { return ExportOptions{}; }

void ApplyNoPromptDefaults(ExportOptions& options) {
    ExportOptions defaults;
    defaults.reserved2 = 0;
    defaults.staticFrame = 0;
    defaults.rangeStart = options.rangeStart;
    defaults.rangeEnd = options.rangeEnd;
    options = defaults;
}

void SetPathOption(std::string& field, const std::string& value) {
    field = value;
    xIo::NormalizePath(field);
}
