#include "export/model_export.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "base/format.h"
#include "export/messages.h"
#include "export/pending_subsystems.h"
#include "io/file_system.h"
#include "model/bone_writer.h"
#include "scene/messages.h"
#include "scene/node_name.h"
#include "scene/node_params.h"
#include "scene/paths.h"

namespace model_export {

using scene::Message;
using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;
using xIo::xSdl::newline;

namespace {

// Closes or discards the writers of a model, and ends the progress display
// and the hold, on every way out of the model.
class ModelScope {
public:
    explicit ModelScope(scene::ExportContext& ctx) : ctx_(ctx) {}
    ~ModelScope() {
        if (progress_) ctx_.app.GetProgress().End();
        if (hold_) ctx_.app.GetHold().Cancel();
        ctx_.modelWriter.Discard();
        ctx_.entityWriter.Discard();
        ctx_.animListWriter.Discard();
    }
    void ProgressStarted() { progress_ = true; }
    void ProgressEnded() {
        ctx_.app.GetProgress().End();
        progress_ = false;
    }
    void HoldBegun() { hold_ = true; }
    void HoldCancelled() {
        ctx_.app.GetHold().Cancel();
        hold_ = false;
    }

private:
    scene::ExportContext& ctx_;
    bool progress_ = false;
    bool hold_ = false;
};

// A writer whose output is not wanted still formats everything, into a
// buffer that is dropped.
void OpenWriter(xIo::xSdl::eWriter& writer, bool to_file, const std::string& name, xIo::eMemoryStream& sink) {
    if (to_file) writer.Open(name);
    else writer.Open(&sink);
}

void FinishWriter(xIo::xSdl::eWriter& writer, bool to_file) {
    if (to_file) writer.Close();
    else writer.Discard();
}

bool LessNoCase(host::Node* a, host::Node* b) {
    const std::string& x = a->GetName();
    const std::string& y = b->GetName();
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char c, char d) {
        auto lower = [](char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; };
        return static_cast<unsigned char>(lower(c)) < static_cast<unsigned char>(lower(d));
    });
}

std::vector<host::Node*> SortedByName(std::vector<host::Node*> nodes) {
    std::stable_sort(nodes.begin(), nodes.end(), LessNoCase);
    return nodes;
}

void WriteHeaderLines(scene::ExportContext& ctx) {
    xIo::xSdl::eWriter& w = ctx.modelWriter;
    std::string file = ctx.app.GetCurFilePath();
    std::string universal;
    if (ctx.app.GetUniversalName(file, universal)) file = universal;
    w << Ident{";Exported by:\t"} << Ident{ctx.app.GetUserName().c_str()} << newline;
    w << Ident{";Date:\t\t\t"} << Ident{HeaderTime(static_cast<long long>(std::time(nullptr))).c_str()} << newline;
    w << Ident{";File:\t\t\t"} << Ident{file.c_str()} << newline;
}

void WriteSupportPoints(scene::ExportContext& ctx) {
    if (ctx.supportPoints.empty()) return;
    xIo::xSdl::eWriter& w = ctx.modelWriter;
    w << begin << Ident{"SupportPoints"} << newline;
    for (const auto& [node, points] : ctx.supportPoints) {
        w << begin << Ident{"bone"} << scene::CleanNodeName(*node, true) << newline;
        for (const host::Point3& p : points)
            w << begin << Ident{"point"} << static_cast<int32_t>(std::trunc(p.x)) << static_cast<int32_t>(std::trunc(p.y))
              << static_cast<int32_t>(std::trunc(p.z)) << endl;
        w << endl;
    }
    w << endl;
}

void WriteZones(scene::ExportContext& ctx) {
    scene::ModelRoot& model = ctx.CurrentModel();
    if (model.areas.empty()) return;
    xIo::xSdl::eWriter& w = ctx.modelWriter;
    w << begin << "zones" << newline;
    for (host::Node* node : SortedByName(model.areas)) {
        std::optional<std::string> obstacle = scene::Property(*node, "Obstacle");
        const char* kind = "area";
        if (obstacle) {
            if (!obstacle->empty() && ParseInt(obstacle->c_str()) == 0) continue;
            kind = "obstacle";
        }
        w << begin << Ident{kind} << scene::CleanNodeName(*node, false) << newline;
        pending::WriteZoneShape(ctx, *node);
        pending::WriteVolumeTags(ctx, *node, false);
        w << endl;
    }
    w << endl;
}

void WriteVolumes(scene::ExportContext& ctx) {
    scene::ModelRoot& model = ctx.CurrentModel();
    if (model.volumes.empty()) return;
    ctx.entityWriter << begin << "volumes" << newline;
    ctx.modelWriter << begin << "volumes" << newline;
    std::vector<std::string> seen;
    for (host::Node* node : SortedByName(model.volumes)) {
        std::string name = scene::CleanNodeName(*node, true);
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
            ctx.report.Error(format(Message(export_messages::kDuplicateVolume)) % name);
            continue;
        }
        seen.push_back(name);
        pending::WriteVolume(ctx, *node);
    }
    ctx.entityWriter << endl;
    ctx.modelWriter << endl;
}

}  // namespace

std::string HeaderTime(long long seconds_since_epoch) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::time_t t = static_cast<std::time_t>(seconds_since_epoch);
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[32];
    std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %04d", kDays[tm.tm_wday % 7], kMonths[tm.tm_mon % 12],
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_year + 1900);
    return text;
}

std::string ExportModel(scene::ExportContext& ctx, size_t index) {
    ModelScope scope(ctx);
    const ExportOptions& options = ctx.options;
    ctx.currentModel = index;
    host::Node& root = *ctx.boneTree.models[index].root;

    // Structures share their materials and textures with the models nested in them.
    ctx.boneTree.structureFlag = scene::HasProperty(root, "Structure");
    if (ctx.boneTree.structureFlag) {
        if (ctx.hadStructure) pending::WriteDirectoryFiles(ctx, ctx.commonDir);
        ctx.hadStructure = true;
        ctx.structureRoot = &root;
    }

    ctx.boneCount = 0;
    ctx.boneTree.boneNames.clear();
    int32_t counter = 0;
    if (scene::BuildBoneTree(ctx.boneTree, root, counter, false)) return "its bone tree has errors";
    ctx.boneCount = counter;

    ctx.supportPoints.clear();
    ctx.landPatch = false;
    ctx.currentRoot = &root;

    std::optional<std::string> model_value = scene::Property(root, "Model");
    if (!model_value) return "its root has no Model property";
    std::string model = scene::CleanName(*model_value, false);
    if (!scene::IsSafeModelPath(model)) {
        ctx.report.Error(format(Message(export_messages::kUnsafeModelPath)) % model % root.GetName());
        return "its Model path leaves the game resource path";
    }

    ctx.resourceDir = scene::JoinPath(options.gameResourcePath, model);
    xIo::NormalizePath(ctx.resourceDir);
    xIo::MakeDirectories(ctx.resourceDir);
    ctx.modelBase = scene::ModelBase(ctx.resourceDir);

    host::Node* anchor = scene::NearestNonGroupMember(&root, false);
    if (ctx.boneTree.structureFlag) {
        ctx.commonDir = scene::JoinPath(ctx.resourceDir, "common");
        ctx.texturePrefix = "common/";
        xIo::MakeDirectories(ctx.commonDir);
    } else if (anchor != nullptr && !anchor->IsRootNode()) {
        ctx.texturePrefix = "../common/";
    } else {
        if (ctx.hadStructure && options.exportMesh) pending::WriteDirectoryFiles(ctx, ctx.commonDir);
        ctx.hadStructure = false;
        ctx.structureRoot = nullptr;
        ctx.commonDir = ctx.resourceDir;
        ctx.texturePrefix.clear();
    }

    xIo::eMemoryStream discarded(256);
    bool mdl_to_file = options.exportMesh != 0;
    OpenWriter(ctx.modelWriter, mdl_to_file, ctx.modelBase + ".mdl", discarded);
    WriteHeaderLines(ctx);

    bool def_to_file = options.exportMesh && !xIo::FileExists(ctx.modelBase + ".def");
    OpenWriter(ctx.entityWriter, def_to_file, ctx.modelBase + ".def", discarded);
    ctx.entityWriter << begin << Ident{"entity"} << newline;

    int32_t last_frame = pending::CollectAnimations(ctx);
    ctx.frameCount = 0;
    if (options.exportAnimation) {
        ctx.frameCount = last_frame + 1;
        ctx.animListWriter.Open(scene::JoinPath(ctx.resourceDir, "anim.txt"));
    }

    ctx.app.GetProgress().Start(Message(export_messages::kProgressTitle));
    scope.ProgressStarted();
    ctx.bones.assign(static_cast<size_t>(ctx.boneCount), scene::BoneRecord{});

    ctx.modelWriter << begin << Ident{"skeleton"} << newline;
    if (options.exportAnimation) pending::InitFrameTable(ctx);
    if (ctx.boneTree.structureFlag) ctx.entityWriter << begin << "placer" << xIo::xSdl::end << begin << "structure" << newline;

    ctx.app.GetHold().Begin();
    scope.HoldBegun();
    model::WriteBone(ctx, root, nullptr, model::kWriteLod | model::kModelRoot);
    scope.HoldCancelled();
    if (ctx.boneTree.structureFlag) ctx.entityWriter << endl;

    if (options.exportMesh) pending::WriteModelMaterials(ctx, ctx.hadStructure);

    scope.ProgressEnded();
    pending::WriteAnimationBlock(ctx);
    ctx.modelWriter << endl;

    WriteSupportPoints(ctx);
    WriteZones(ctx);
    if (!ctx.CurrentModel().bodies.empty()) ctx.report.Warning(Message(export_messages::kBodiesObsolete));
    WriteVolumes(ctx);
    if (!ctx.CurrentModel().previews.empty()) pending::WritePreview(ctx);

    if (ctx.landPatch) ctx.entityWriter << begin << "land_patch" << newline << endl;
    ctx.entityWriter << endl;
    FinishWriter(ctx.entityWriter, def_to_file);
    FinishWriter(ctx.modelWriter, mdl_to_file);

    if (options.exportAnimation) {
        bool any = pending::WriteAnimationFiles(ctx);
        ctx.animListWriter.Close();
        if (!any) xIo::RemoveFile(scene::JoinPath(ctx.resourceDir, "anim.txt"));
    }

    if (!ctx.boneTree.structureFlag && options.exportMesh) pending::WriteDirectoryFiles(ctx, ctx.resourceDir);
    return std::string();
}

}  // namespace model_export
