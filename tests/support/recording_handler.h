#pragma once
// Test doubles for the error channel: a handler that records every box it is
// asked to present and answers from a script, and a log capture.
#include <deque>
#include <string>
#include <vector>

#include "base/debug.h"
#include "base/log.h"

namespace qeltest {

class RecordingHandler : public xDebug::eErrorHandler {
public:
    RecordingHandler();
    ~RecordingHandler() override;

    int Present(const xPlatform::MessageBoxParams& params) override;
    bool IsDebuggerPresent() override { return false; }

    std::vector<xPlatform::MessageBoxParams> boxes;
    /// Answers given in order; when empty, Cancel (or OK for an OK box).
    std::deque<int> answers;
};

/// Captures log lines for its lifetime.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    std::string text;
};

/// Sets an integer debug setting for its lifetime.
class SettingOverride {
public:
    SettingOverride(const char* name, int32_t value);
    ~SettingOverride();

private:
    const char* name_;
    int32_t previous_;
};

}  // namespace qeltest
