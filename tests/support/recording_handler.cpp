#include "support/recording_handler.h"

#include "base/settings.h"

namespace qeltest {

RecordingHandler::RecordingHandler() { xDebug::SetHandler(this); }
RecordingHandler::~RecordingHandler() { xDebug::SetHandler(nullptr); }

int RecordingHandler::Present(const xPlatform::MessageBoxParams& params) {
    boxes.push_back(params);
    if (!answers.empty()) {
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (params.style & xPlatform::kBoxButtonsMask) == xPlatform::kBoxOk ? xPlatform::kAnswerOk
                                                                            : xPlatform::kAnswerCancel;
}

LogCapture::LogCapture() {
    xLog::SetSink([this](const std::string& t) { text += t; });
}
LogCapture::~LogCapture() { xLog::SetSink(nullptr); }

SettingOverride::SettingOverride(const char* name, int32_t value) : name_(name) {
    xSet::eIntSetting* s = xSet::FindInt(name);
    previous_ = s->Value();
    s->Set(value);
}
SettingOverride::~SettingOverride() { xSet::FindInt(name_)->Set(previous_); }

}  // namespace qeltest
