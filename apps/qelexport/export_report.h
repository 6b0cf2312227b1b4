#pragma once
// The JSON report of one command-line export: the messages shown, the files
// written, what became of each model, and how long it took.
#include <string>
#include <vector>

#include "export/export_driver.h"
#include "sim/recorder.h"

struct WrittenFile {
    std::string hostPath;   ///< as the exporter named it (code page 1251)
    std::string localPath;  ///< where it is on this machine
};

/// Writes the report to path; returns "" or the system's reason why it could
/// not be written whole (a full disk shows only when the data is flushed).
std::string WriteExportReport(const std::string& path, const std::vector<sim::MessageBoxRecord>& boxes,
                       const std::vector<WrittenFile>& files, const export_driver::ExportSummary& summary,
                       double elapsed_seconds);
