#pragma once
// The simulated host: one loaded scene held in memory, answering the host
// interfaces, recording what the exporter did, and creating plug-in objects
// through their class descriptors.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/application.h"
#include "host/plugin.h"
#include "sim/path_map.h"
#include "sim/recorder.h"
#include "sim/scene_node.h"
#include "sim/ui_services.h"

namespace sim {

struct SelectionSet {
    std::string name;  ///< code page 1251
    std::vector<SimNode*> nodes;
};

/// What the scene file named by id and its own path entries, kept so that
/// the scene can be written back: the host's answers do not carry them.
struct SceneFileTables {
    std::map<std::string, SimObject*> objects;  ///< shared objects by id (UTF-8)
    std::map<std::string, host::Material*> materials;
    std::map<std::string, host::Texture*> textures;
    /// `paths` entries as written: host prefix and folder (UTF-8), in file order.
    std::vector<std::pair<std::string, std::string>> paths;
};

class Scene : public host::Application, public host::PluginServices {
public:
    Scene();
    ~Scene() override;

    // host::Application
    host::WindowHandle GetMainWindow() const override { return const_cast<int*>(&window_); }
    host::Node* GetRootNode() const override { return root_; }
    host::Node* GetNodeByName(const std::string& name) const override;
    host::Interval GetAnimRange() const override { return anim_range_; }
    int GetTicksPerFrame() const override { return ticks_per_frame_; }
    double GetMasterScaleMeters() const override { return master_scale_; }
    host::Color GetAmbient(host::TimeValue) const override { return ambient_; }
    const std::string& GetCurFilePath() const override { return file_path_; }
    std::string GetUserName() const override { return user_name_; }
    bool GetUniversalName(const std::string& path, std::string& universal) const override;
    std::string GetPlugCfgDir() const override { return plug_cfg_dir_; }
    int GetNumNamedSelSets() const override { return static_cast<int>(selection_sets_.size()); }
    std::string GetNamedSelSetName(int i) const override;
    int GetNamedSelSetItemCount(int i) const override;
    host::Node* GetNamedSelSetItem(int i, int j) const override;
    host::Progress& GetProgress() override { return progress_; }
    host::Hold& GetHold() override { return hold_; }
    host::MessageBoxResult ShowMessageBox(const host::MessageBoxRequest& request) override;
    void SetCommandPanelTaskMode(int mode) override;
    int GetCommandPanelTaskMode() const override { return panel_mode_; }

    // host::PluginServices (GetMainWindow and ShowMessageBox are shared)
    std::unique_ptr<host::ParamBlock> CreateParamBlock(const host::ParamBlockDesc& desc, host::ReferenceTarget* owner) override;
    std::unique_ptr<host::ParamMap> CreateParamMap(host::ParamBlock& block) override;

    // Test and tool controls.
    Recorder& Record() { return recorder_; }
    SimProgress& ProgressScript() { return progress_; }
    SimHold& HoldImpl() { return hold_; }
    PathMap& Paths() { return paths_; }
    /// Answers given to the next message boxes in order; after them each box
    /// answers with its first button.
    std::deque<host::MessageBoxResult>& BoxAnswers() { return box_answers_; }
    void SetPlugCfgDir(std::string dir) { plug_cfg_dir_ = std::move(dir); }
    /// Called with every message box as it is shown (a tool prints them).
    void SetBoxObserver(std::function<void(const MessageBoxRecord&)> observer) { box_observer_ = std::move(observer); }
    void SetUniversalName(const std::string& path, const std::string& universal) { universal_names_[path] = universal; }

    // Building, used by the loader.
    SimNode* AddNode(const std::string& name, SimNode* parent);
    template <class T>
    T* Own(std::unique_ptr<T> item) {
        T* raw = item.get();
        owned_.push_back(std::unique_ptr<host::ReferenceTarget>(item.release()));
        return raw;
    }
    void SetTime(int ticks_per_frame, host::Interval range) { ticks_per_frame_ = ticks_per_frame, anim_range_ = range; }
    void SetUnits(double master_scale) { master_scale_ = master_scale; }
    void SetAmbient(const host::Color& ambient) { ambient_ = ambient; }
    void SetFile(std::string path, std::string user) { file_path_ = std::move(path), user_name_ = std::move(user); }
    void AddSelectionSet(SelectionSet set) { selection_sets_.push_back(std::move(set)); }
    /// Every node in depth-first order (root excluded).
    const std::vector<SimNode*>& Nodes() const { return order_; }
    SceneFileTables& FileTables() { return file_tables_; }
    const SceneFileTables& FileTables() const { return file_tables_; }

private:
    int window_ = 0;  // its address is the main window handle
    Recorder recorder_;
    SimProgress progress_{recorder_};
    SimHold hold_{recorder_};
    PathMap paths_;
    std::deque<host::MessageBoxResult> box_answers_;
    std::function<void(const MessageBoxRecord&)> box_observer_;
    std::vector<std::unique_ptr<SimNode>> nodes_;
    std::vector<SimNode*> order_;
    SimNode* root_ = nullptr;
    std::vector<std::unique_ptr<host::ReferenceTarget>> owned_;
    std::vector<SelectionSet> selection_sets_;
    SceneFileTables file_tables_;
    std::map<std::string, std::string> universal_names_;
    host::Interval anim_range_{0, 100 * 160};
    int ticks_per_frame_ = 160;
    double master_scale_ = 1.0;
    host::Color ambient_;
    std::string file_path_, user_name_, plug_cfg_dir_;
    int panel_mode_ = host::kPanelCreate;
};

}  // namespace sim
