#include "export/model_export.h"

#include <ctime>

#include "animation/animation_file.h"
#include "animation/animation_ranges.h"
#include "animation/animation_sampler.h"
#include "animation/entity_block.h"
#include "base/format.h"
#include "base/platform.h"
#include "export/messages.h"
#include "export/model_folders.h"
#include "export/model_sections.h"
#include "export/model_state.h"
#include "export/model_steps.h"
#include "export/subsystem_settings.h"
#include "io/file_system.h"
#include "materials/material_writer.h"
#include "model/bone_writer.h"
#include "scene/messages.h"
#include "scene/node_name.h"
#include "scene/node_params.h"
#include "scene/paths.h"

namespace model_export {

using export_driver::DirectoryFiles;
using export_driver::ExportState;
using export_driver::ModelState;
using scene::Message;
using scene::StepResult;
using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;
using xIo::xSdl::newline;

namespace {

// Discards the writers of a model, and ends the progress display and the
// hold, on every way out of the model; writers closed before are kept. It
// must be destroyed before the model state it guards.
class ModelScope {
public:
    ModelScope(host::Application& app, ModelState& model) : app_(app), model_(model) {}
    ~ModelScope() {
        if (progress_) app_.GetProgress().End();
        if (hold_) app_.GetHold().Cancel();
        model_.modelWriter.Discard();
        model_.entityWriter.Discard();
        model_.animListWriter.Discard();
    }
    void ProgressStarted() { progress_ = true; }
    void ProgressEnded() {
        app_.GetProgress().End();
        progress_ = false;
    }
    void HoldBegun() { hold_ = true; }
    void HoldCancelled() {
        app_.GetHold().Cancel();
        hold_ = false;
    }

private:
    host::Application& app_;
    ModelState& model_;
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

void WriteHeaderLines(host::Application& app, xIo::xSdl::eWriter& w) {
    std::string file = app.GetCurFilePath();
    std::string universal;
    if (app.GetUniversalName(file, universal)) file = universal;
    w << Ident{";Exported by:\t"} << Ident{app.GetUserName().c_str()} << newline;
    w << Ident{";Date:\t\t\t"} << Ident{HeaderTime(static_cast<long long>(std::time(nullptr))).c_str()} << newline;
    w << Ident{";File:\t\t\t"} << Ident{file.c_str()} << newline;
}

// The root's Model value as the directory below the game path; empty after
// telling the artist when it is missing or leaves the game path.
StepResult ModelDirectory(const ExportState& state, host::Node& root, std::string& model) {
    std::optional<std::string> value = scene::Property(root, "Model");
    if (!value) return StepResult::Skipped("its root has no Model property");
    model = scene::CleanName(*value, false);
    if (!scene::IsSafeModelPath(model)) {
        state.report.Error(format(Message(export_messages::kUnsafeModelPath)) % model % root.GetName());
        return StepResult::Skipped("its Model path leaves the game resource path");
    }
    return StepResult::Done();
}

// A model's files are named by its directory: a second model in the same
// directory would overwrite the first one's, so it is refused.
StepResult ClaimDirectory(ExportState& state, host::Node& root, const std::string& model_path,
                          const std::string& resource_dir) {
    auto [it, added] = state.modelDirectories.try_emplace(resource_dir, &root);
    if (added) return StepResult::Done();
    state.report.Error(format(Message(export_messages::kSameModelFiles)) % model_path % root.GetName() %
                       it->second->GetName());
    return StepResult::Skipped("another model of the export writes the same files");
}

// The bones, the materials, the entity's animation block and the sections
// after the skeleton; the writers are open.
StepResult WriteModelBody(ExportState& state, DirectoryFiles& directories, ModelState& model, ModelScope& scope) {
    const ExportOptions& options = state.options;
    host::Application& app = state.app;

    app.GetProgress().Start(Message(export_messages::kProgressTitle));
    scope.ProgressStarted();

    model.modelWriter << begin << Ident{"skeleton"} << newline;
    if (options.exportAnimation)
        animation::InitFrameTable(AnimationSettingsOf(state), model.animation, model.Root().GetName(),
                                  model.bones.BoneCount());
    if (model.structure) model.entityWriter << begin << "placer" << xIo::xSdl::end << begin << "structure" << newline;

    app.GetHold().Begin();
    scope.HoldBegun();
    model::WalkSettings walk_settings = WalkSettingsOf(state);
    export_driver::ModelSteps steps(state, model, directories);
    model::BoneWalk walk{walk_settings, model.bones, model.modelWriter, model.entityWriter, steps,
                         state.boneTree.lodSiblings};
    StepResult walked = model::WriteBone(walk, model.Root(), nullptr, model::kWriteLod | model::kModelRoot);
    scope.HoldCancelled();
    if (walked.IsCancelled()) return walked;
    if (model.structure) model.entityWriter << endl;

    if (options.exportMesh)
        materials::WriteModelMaterials(MaterialSettingsOf(state), model.meshes, directories.CommonDir(),
                                       directories.ForMaterials().materials);

    scope.ProgressEnded();
    animation::WriteAnimationBlock(model.animation, model.entityWriter);
    model.modelWriter << endl;

    export_driver::WriteModelSections(state, model);

    if (model.bones.landPatch) model.entityWriter << begin << "land_patch" << newline << endl;
    model.entityWriter << endl;
    return StepResult::Done();
}

// What a model that is given up (cancelled, or failed with an error) leaves
// behind: nothing it put into its directory's collector, and none of the
// folders it created that stayed empty. Its writers are discarded first, by
// the model scope.
class GiveUpGuard {
public:
    GiveUpGuard(DirectoryFiles& directories, export_driver::ModelFolders& folders)
        : directories_(directories), folders_(folders) {}
    ~GiveUpGuard() {
        if (kept_) return;
        directories_.DiscardModel();
        folders_.RemoveEmptyCreated();
    }
    void Keep() { kept_ = true; }

private:
    DirectoryFiles& directories_;
    export_driver::ModelFolders& folders_;
    bool kept_ = false;
};

}  // namespace

std::string HeaderTime(long long seconds_since_epoch) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm tm = xPlatform::LocalTime(seconds_since_epoch);
    char text[32];
    std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %04d", kDays[tm.tm_wday % 7], kMonths[tm.tm_mon % 12],
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_year + 1900);
    return text;
}

StepResult ExportModel(ExportState& state, DirectoryFiles& directories, size_t index) {
    const ExportOptions& options = state.options;
    scene::ModelRoot& lists = state.boneTree.models[index];
    host::Node& root = *lists.root;

    // Structures share their materials and textures with the models nested in them.
    bool structure = scene::HasProperty(root, "Structure");
    state.boneTree.structureFlag = structure;
    directories.EnterModel(root, structure);

    state.boneTree.boneNames.clear();
    int32_t bone_count = 0;
    if (StepResult r = scene::BuildBoneTree(state.boneTree, root, bone_count, false); r.IsFailed())
        return StepResult::Skipped(r.reason());

    export_driver::ModelFolders folders;
    GiveUpGuard give_up(directories, folders);
    ModelState model(lists, structure, bone_count);
    ModelScope scope(state.app, model);

    std::string model_path;
    if (StepResult r = ModelDirectory(state, root, model_path); !r.IsDone()) return r;
    model.resourceDir = scene::JoinPath(options.gameResourcePath, model_path);
    xIo::NormalizePath(model.resourceDir);
    if (StepResult r = ClaimDirectory(state, root, model_path, model.resourceDir); !r.IsDone()) return r;
    folders.Make(model.resourceDir);
    model.modelBase = scene::ModelBase(model.resourceDir);

    directories.PlaceModel(root, structure, model.resourceDir, folders);
    model.bones.resourceDir = model.resourceDir;
    model.bones.commonDir = directories.CommonDir();
    model.bones.texturePrefix = directories.TexturePrefix();
    model.bones.structureRoot = directories.StructureRoot();

    xIo::eMemoryStream discarded(256);
    bool mdl_to_file = options.exportMesh != 0;
    OpenWriter(model.modelWriter, mdl_to_file, model.modelBase + ".mdl", discarded);
    WriteHeaderLines(state.app, model.modelWriter);

    bool def_to_file = options.exportMesh && !xIo::FileExists(model.modelBase + ".def");
    OpenWriter(model.entityWriter, def_to_file, model.modelBase + ".def", discarded);
    model.entityWriter << begin << Ident{"entity"} << newline;

    int32_t last_frame =
        animation::CollectAnimations(AnimationSettingsOf(state), root, model.animation);
    if (options.exportAnimation) {
        model.bones.frameCount = last_frame + 1;
        model.animListWriter.Open(scene::JoinPath(model.resourceDir, "anim.txt"));
    }

    StepResult written = WriteModelBody(state, directories, model, scope);
    if (written.IsCancelled()) return written;
    // The larger file first: when it cannot be written, the model fails
    // before its entity file is committed.
    FinishWriter(model.modelWriter, mdl_to_file);
    FinishWriter(model.entityWriter, def_to_file);

    if (options.exportAnimation) {
        bool any = animation::WriteAnimationFiles(AnimationSettingsOf(state), model.animation, model.resourceDir,
                                                  state.boneTree.boneNames);
        model.animListWriter.Close();
        if (!any) xIo::RemoveFile(scene::JoinPath(model.resourceDir, "anim.txt"));
    }

    give_up.Keep();
    directories.FinishModel(model.resourceDir);
    return written;
}

}  // namespace model_export
