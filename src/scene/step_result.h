#pragma once
// How one step of an export ended. The bone walk, the model export and the
// subsystems' steps all answer with it, so a caller tells "nothing to do"
// from "the artist cancelled" from "it could not be done" in one way.
#include <string>
#include <utility>

namespace scene {

class StepResult {
public:
    enum class Kind {
        kDone,       ///< the step did its work
        kSkipped,    ///< the item was left out (refused and reported, or nothing to do)
        kCancelled,  ///< the artist cancelled; the caller stops after finishing what is open
        kFailed,     ///< the step could not go on; what was open is closed
    };

    static StepResult Done() { return StepResult(Kind::kDone, {}); }
    /// reason: why the item was left out, in English, for reports and logs.
    static StepResult Skipped(std::string reason) { return StepResult(Kind::kSkipped, std::move(reason)); }
    static StepResult Cancelled() { return StepResult(Kind::kCancelled, "the export was cancelled"); }
    /// reason: why the step could not go on, in English.
    static StepResult Failed(std::string reason) { return StepResult(Kind::kFailed, std::move(reason)); }

    Kind kind() const { return kind_; }
    const std::string& reason() const { return reason_; }
    bool IsDone() const { return kind_ == Kind::kDone; }
    bool IsSkipped() const { return kind_ == Kind::kSkipped; }
    bool IsCancelled() const { return kind_ == Kind::kCancelled; }
    bool IsFailed() const { return kind_ == Kind::kFailed; }
    /// True when the caller must not go on with the steps that follow.
    bool Stops() const { return kind_ == Kind::kCancelled || kind_ == Kind::kFailed; }

private:
    StepResult(Kind kind, std::string reason) : kind_(kind), reason_(std::move(reason)) {}
    Kind kind_;
    std::string reason_;
};

}  // namespace scene
