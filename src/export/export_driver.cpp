#include "export/export_driver.h"

#include <vector>

#include "base/debug.h"
#include "base/format.h"
#include "export/config_file.h"
#include "export/messages.h"
#include "export/model_export.h"
#include "export/numeric_locale.h"
#include "export/pending_subsystems.h"
#include "export/tool_check.h"
#include "host/node.h"
#include "host/material.h"
#include "host/object.h"
#include "scene/export_context.h"
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
bool RunDialog(scene::ExportContext& ctx, ExportOptions& options, const ExportSettings& settings) {
    bool tools_current = tool_check::CheckToolVersions(
        settings.installedFolder, settings.toolsFolder, tool_check::LastWriteTime, [&](const tool_check::Message& m) {
            if (m.isError) ctx.report.Error(m.text);
            else ctx.report.Warning(m.text);
        });
    host::Interval range = ctx.app.GetAnimRange();
    int tpf = ctx.app.GetTicksPerFrame();
    options_dialog::Model dialog(options);
    dialog.Start(tools_current, range.Start() / tpf, range.End() / tpf);
    if (!settings.dialog) return true;  // no dialog here: the options stand
    return settings.dialog(dialog) != 0;
}

void ExportModels(scene::ExportContext& ctx, ExportSummary& summary) {
    for (size_t i = 0; i < ctx.boneTree.models.size(); ++i) {
        host::Node* root = ctx.boneTree.models[i].root;
        ModelSummary model{root->GetName(), false, {}};
        try {
            model.skipReason = model_export::ExportModel(ctx, i);
        } catch (const xDebug::eEx_Custom& e) {
            std::string reason = e.Text();
            while (!reason.empty() && reason.back() == '\n') reason.pop_back();
            ctx.report.Error(format(scene::Message(export_messages::kModelFailed)) % root->GetName() % reason);
            model.skipReason = e.message;
        }
        model.exported = model.skipReason.empty();
        summary.models.push_back(std::move(model));
        if (ctx.app.GetProgress().GetCancel()) {
            summary.cancelled = i + 1 < ctx.boneTree.models.size();
            break;
        }
    }
    if (ctx.hadStructure && ctx.options.exportMesh) {
        try {
            pending::WriteDirectoryFiles(ctx, ctx.commonDir);
        } catch (const xDebug::eEx_Custom& e) {
            ctx.report.Error(e.Text());
        }
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
    scene::ExportContext ctx(app);
    ctx.exportSelected = settings.exportSelected;
    app.SetCommandPanelTaskMode(host::kPanelUtility);

    int tpf = app.GetTicksPerFrame();
    host::Interval range = app.GetAnimRange();
    options.rangeStart = range.Start() / tpf;
    options.rangeEnd = range.End() / tpf;
    std::string config_path = settings.configPath.empty() ? DefaultConfigPath(app) : settings.configPath;
    try {
        LoadOptions(config_path, options);
    } catch (const xDebug::eEx_Custom&) {
        // An unreadable configuration leaves the options as they were.
    }

    if (!settings.suppressPrompts) {
        if (!RunDialog(ctx, options, settings)) {  // cancelled: nothing is written
            summary.dialogCancelled = true;
            return 1;
        }
    } else {
        ApplyNoPromptDefaults(options);
    }
    ctx.options = options;
    ctx.staticTime = options.staticFrame * tpf;
    ctx.masterScale = static_cast<float>(app.GetMasterScaleMeters());
    ctx.boneTree.staticTime = ctx.staticTime;
    ctx.boneTree.exportLightsCameras = options.exportLightsCameras != 0;

    host::Matrix3 mirror;
    mirror.SetScale(host::Point3(1, -1, 1));
    ctx.axisFix = host::Inverse(mirror);

    host::Node& root = *app.GetRootNode();
    if (scene::CollectModelRoots(ctx.boneTree)) {
        app.GetHold().Begin();
        host::Color ambient = app.GetAmbient(0);
        float percent = static_cast<float>(options.ambientPercent) / 100.0f;
        ctx.ambient[0] = ambient.r;
        ctx.ambient[1] = ambient.g;
        ctx.ambient[2] = ambient.b;
        for (int i = 0; i < 3; ++i) ctx.ambientScaled[i] = ctx.ambient[i] * percent;
        RenderAll(root, ctx.staticTime, true);
        ExportModels(ctx, summary);
    }

    try {
        SaveOptions(config_path, options);
    } catch (const xDebug::eEx_Custom&) {
        // A configuration that cannot be written is skipped without a message.
    }
    RenderAll(root, ctx.staticTime, false);
    for (const auto& light : ctx.boneTree.lights) light->Update(ctx.staticTime);
    app.SetCommandPanelTaskMode(host::kPanelModify);
    return 1;
}

}  // namespace export_driver
