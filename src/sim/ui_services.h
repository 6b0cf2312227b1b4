#pragma once
// The simulated progress display (with a scripted cancel) and undo hold.
#include <functional>
#include <vector>

#include "host/ui.h"
#include "sim/recorder.h"

namespace sim {

class SimProgress : public host::Progress {
public:
    explicit SimProgress(Recorder& recorder) : recorder_(recorder) {}
    void Start(const std::string& title) override;
    void Update(int percent) override;
    void SetTitle(const std::string& title) override;
    void End() override;
    /// Answers true once the scripted number of polls has passed or SetCancel(true).
    bool GetCancel() override;
    void SetCancel(bool cancel) override { cancel_ = cancel; }

    /// Script: the first polls answer false, every poll after them true; −1 never.
    void CancelAfterPolls(int polls) { cancel_after_ = polls; }
    int Polls() const { return polls_; }
    /// Called with every record as it is made (a tool's progress display).
    void SetObserver(std::function<void(const ProgressRecord&)> observer) { observer_ = std::move(observer); }

private:
    void Note(const ProgressRecord& record);

    std::function<void(const ProgressRecord&)> observer_;
    Recorder& recorder_;
    bool cancel_ = false;
    int cancel_after_ = -1;
    int polls_ = 0;
};

class SimHold : public host::Hold {
public:
    explicit SimHold(Recorder& recorder) : recorder_(recorder) {}
    void Begin() override;
    void Cancel() override;
    void Accept() override;
    bool Holding() const override { return !levels_.empty(); }

    /// Records how to undo a change; ignored while no hold is open.
    void Put(std::function<void()> undo);

private:
    Recorder& recorder_;
    std::vector<std::vector<std::function<void()>>> levels_;
};

}  // namespace sim
