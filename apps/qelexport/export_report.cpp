#include "export_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "base/cp1251.h"
#include "sha256.h"

namespace {

std::string SystemReason() { return errno != 0 ? std::strerror(errno) : "unknown error"; }

const char* IconName(host::MessageBoxIcon icon) {
    switch (icon) {
        case host::MessageBoxIcon::kError: return "error";
        case host::MessageBoxIcon::kWarning: return "warning";
        case host::MessageBoxIcon::kInformation: return "information";
        case host::MessageBoxIcon::kNone: break;
    }
    return "none";
}

}  // namespace

std::string WriteExportReport(const std::string& path, const std::vector<sim::MessageBoxRecord>& boxes,
                       const std::vector<WrittenFile>& files, const export_driver::ExportSummary& summary,
                       double elapsed_seconds) {
    nlohmann::ordered_json report;
    report["messages"] = nlohmann::json::array();
    for (const sim::MessageBoxRecord& box : boxes) {
        report["messages"].push_back({{"caption", Cp1251ToUtf8(box.caption)},
                                      {"text", Cp1251ToUtf8(box.text)},
                                      {"icon", IconName(box.icon)},
                                      {"owner", box.ownedByHostWindow ? "host" : "none"}});
    }
    report["files"] = nlohmann::json::array();
    for (const WrittenFile& file : files) {
        std::ifstream in(file.localPath, std::ios::binary);
        if (!in) continue;  // written, then removed again by the export
        std::ostringstream content;
        content << in.rdbuf();
        std::string bytes = content.str();
        report["files"].push_back({{"host", Cp1251ToUtf8(file.hostPath)},
                                   {"local", file.localPath},
                                   {"bytes", bytes.size()},
                                   {"sha256", Sha256Hex(bytes)}});
    }
    nlohmann::ordered_json exported = nlohmann::json::array();
    nlohmann::ordered_json skipped = nlohmann::json::array();
    for (const export_driver::ModelSummary& model : summary.models) {
        if (model.exported) exported.push_back(Cp1251ToUtf8(model.rootName));
        else skipped.push_back({{"model", Cp1251ToUtf8(model.rootName)}, {"reason", model.skipReason}});
    }
    report["models"] = {{"exported", exported}, {"skipped", skipped}};
    report["cancelled"] = summary.cancelled || summary.dialogCancelled;
    report["elapsedSeconds"] = elapsed_seconds;
    std::string text = report.dump(2) + "\n";
    errno = 0;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return SystemReason();
    bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
    std::string reason = written ? std::string() : SystemReason();
    if (std::fclose(out) != 0 && reason.empty()) reason = SystemReason();
    return reason;
}
