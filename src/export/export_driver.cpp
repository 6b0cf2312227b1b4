#include "export/export_driver.h"

#include <vector>

#include "base/debug.h"
#include "base/format.h"
#include "export/config_file.h"
#include "export/directory_files.h"
#include "export/export_state.h"
#include "export/messages.h"
#include "export/model_export.h"
#include "export/numeric_locale.h"
#include "export/tool_check.h"
#include "host/node.h"
#include "host/material.h"
#include "host/object.h"
#include "scene/messages.h"

namespace export_driver {

namespace {

// Every target the scene root reaches through the hierarchy and references,
// each once, in a fixed order.
std::vector<host::ReferenceTarget*> ReachableTargets(host::Node& root) {
    std::vector<host::ReferenceTarget*> targets;
    std::vector<host::ReferenceTarget*> stack{&root};
    while (!stack.empty()) {
        host::ReferenceTarget* target = stack.back();
        stack.pop_back();
        if (target == nullptr || target->TestWorkFlag()) continue;
        target->SetWorkFlag(true);
        targets.push_back(target);
        std::vector<host::ReferenceTarget*> next;
        if (auto* node = dynamic_cast<host::Node*>(target)) {
            next.push_back(node->GetObjectRef());
            next.push_back(node->GetMtl());
            for (int i = 0; i < node->NumberOfChildren(); ++i) next.push_back(node->GetChildNode(i));
        }
        for (int i = 0; i < target->NumRefs(); ++i) next.push_back(target->GetReference(i));
        stack.insert(stack.end(), next.rbegin(), next.rend());
    }
    for (host::ReferenceTarget* target : targets) target->SetWorkFlag(false);
    return targets;
}

void RenderAll(host::Node& root, host::TimeValue t, bool begin) {
    for (host::ReferenceTarget* target : ReachableTargets(root)) {
        if (dynamic_cast<host::Node*>(target) != nullptr) continue;
        if (begin) target->RenderBegin(t);
        else target->RenderEnd(t);
    }
}

// Runs the dialog; false when the artist cancelled.
bool RunDialog(host::Application& app, scene::Reporter& report, ExportOptions& options,
               const ExportSettings& settings) {
    bool tools_current = tool_check::CheckToolVersions(
        settings.installedFolder, settings.toolsFolder, tool_check::LastWriteTime, [&](const tool_check::Message& m) {
            if (m.isError) report.Error(m.text);
            else report.Warning(m.text);
        });
    host::Interval range = app.GetAnimRange();
    int tpf = app.GetTicksPerFrame();
    options_dialog::Model dialog(options);
    dialog.Start(tools_current, range.Start() / tpf, range.End() / tpf);
    if (!settings.dialog) return true;  // no dialog here: the options stand
    return settings.dialog(dialog) != 0;
}

void ReportConfigFile(scene::Reporter& report, const std::string& path, const ConfigFileCheck& config) {
    if (config.state == ConfigFileState::kForeign)
        report.Warning(format(scene::Message(export_messages::kConfigForeign)) % path);
    else if (config.state == ConfigFileState::kUnreadable)
        report.Warning(format(scene::Message(export_messages::kConfigUnreadable)) % path % config.reason);
}

// One model, with the core library's failures caught at its boundary.
ModelSummary ExportOneModel(ExportState& state, DirectoryFiles& directories, size_t index) {
    host::Node* root = state.boneTree.models[index].root;
    ModelSummary model{root->GetName(), false, false, {}};
    try {
        scene::StepResult result = model_export::ExportModel(state, directories, index);
        model.exported = result.IsDone();
        model.cancelled = result.IsCancelled();
        if (!model.exported) model.skipReason = result.reason();
    } catch (const xDebug::eEx_Custom& e) {
        std::string reason = e.Text();
        while (!reason.empty() && reason.back() == '\n') reason.pop_back();
        state.report.Error(format(scene::Message(export_messages::kModelFailed)) % root->GetName() % reason);
        model.skipReason = e.message;
    }
    return model;
}

void ExportModels(ExportState& state, ExportSummary& summary) {
    DirectoryFiles directories(state.options.exportMesh != 0);
    for (size_t i = 0; i < state.boneTree.models.size(); ++i) {
        summary.models.push_back(ExportOneModel(state, directories, i));
        bool more = i + 1 < state.boneTree.models.size();
        if (summary.models.back().cancelled || state.app.GetProgress().GetCancel()) {
            summary.cancelled = summary.models.back().cancelled || more;
            break;
        }
    }
    try {
        directories.FinishExport();
    } catch (const xDebug::eEx_Custom& e) {
        state.report.Error(e.Text());
    }
}

}  // namespace

std::string DefaultConfigPath(host::Application& app) { return app.GetPlugCfgDir() + "\\" + kConfigFileName; }

int RunExport(host::Application& app, ExportOptions& options, const ExportSettings& settings, ExportSummary* summary_out) {
    ExportSummary local_summary;
    ExportSummary& summary = summary_out ? *summary_out : local_summary;
    summary = ExportSummary{};
    NumericLocaleScope numbers;
    // Core-library failures become exceptions caught at the model boundary,
    // so a bad file never ends the host process.
    xDebug::eExceptionMode throwing(xDebug::kModeThrow);
    scene::Reporter report(app);
    app.SetCommandPanelTaskMode(host::kPanelUtility);

    int tpf = app.GetTicksPerFrame();
    host::Interval range = app.GetAnimRange();
    options.rangeStart = range.Start() / tpf;
    options.rangeEnd = range.End() / tpf;
    std::string config_path = settings.configPath.empty() ? DefaultConfigPath(app) : settings.configPath;
    // A missing or unreadable configuration leaves the options as they were;
    // a file that is not one is never replaced. Without prompts the stored
    // options give way to the defaults and are not saved, so nothing is said.
    ConfigFileCheck config = CheckConfigFile(config_path);
    if (config.state == ConfigFileState::kValid) LoadOptions(config_path, options);
    if (!settings.suppressPrompts) ReportConfigFile(report, config_path, config);

    if (!settings.suppressPrompts) {
        if (!RunDialog(app, report, options, settings)) {  // cancelled: nothing is written
            summary.dialogCancelled = true;
            return 1;
        }
    } else {
        ApplyNoPromptDefaults(options);
    }
    ExportState state(app, report, options, settings.exportSelected);

    host::Node& root = *app.GetRootNode();
    if (scene::CollectModelRoots(state.boneTree)) {
        app.GetHold().Begin();
        state.ambient = app.GetAmbient(0);
        state.ambientScaled = state.ambient * (static_cast<float>(options.ambientPercent) / 100.0f);
        RenderAll(root, state.staticTime, true);
        ExportModels(state, summary);
    }

    // A configuration that cannot be written is skipped without a message. A
    // silent export keeps the artist's stored options: it ran on defaults.
    bool replaceable = config.state == ConfigFileState::kMissing || config.state == ConfigFileState::kValid;
    if (!settings.suppressPrompts && replaceable) SaveOptions(config_path, options);
    RenderAll(root, state.staticTime, false);
    for (const auto& light : state.boneTree.lights) light->Update(state.staticTime);
    app.SetCommandPanelTaskMode(host::kPanelModify);
    return 1;
}

}  // namespace export_driver
