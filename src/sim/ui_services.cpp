#include "sim/ui_services.h"

namespace sim {

void SimProgress::Note(const ProgressRecord& record) {
    recorder_.progress.push_back(record);
    if (observer_) observer_(record);
}

void SimProgress::Start(const std::string& title) { Note({ProgressRecord::kStart, title, 0, false}); }

void SimProgress::Update(int percent) { Note({ProgressRecord::kUpdate, {}, percent, false}); }

void SimProgress::SetTitle(const std::string& title) { Note({ProgressRecord::kTitle, title, 0, false}); }

void SimProgress::End() { Note({ProgressRecord::kEnd, {}, 0, false}); }

bool SimProgress::GetCancel() {
    ++polls_;
    if (cancel_after_ >= 0 && polls_ > cancel_after_) cancel_ = true;
    Note({ProgressRecord::kCancelPoll, {}, 0, cancel_});
    return cancel_;
}

void SimHold::Begin() {
    levels_.emplace_back();
    recorder_.hold.push_back("begin");
}

void SimHold::Cancel() {
    recorder_.hold.push_back("cancel");
    if (levels_.empty()) return;
    std::vector<std::function<void()>> undo = std::move(levels_.back());
    levels_.pop_back();
    for (auto it = undo.rbegin(); it != undo.rend(); ++it) (*it)();
}

void SimHold::Accept() {
    recorder_.hold.push_back("accept");
    if (levels_.empty()) return;
    std::vector<std::function<void()>> undo = std::move(levels_.back());
    levels_.pop_back();
    // An outer hold can still undo what the inner one accepted.
    if (!levels_.empty())
        for (auto& step : undo) levels_.back().push_back(std::move(step));
}

void SimHold::Put(std::function<void()> undo) {
    if (!levels_.empty()) levels_.back().push_back(std::move(undo));
}

}  // namespace sim
