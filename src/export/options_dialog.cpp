#include "export/options_dialog.h"

#include <algorithm>
#include <cstdlib>

#include "scene/messages.h"
#include "base/format.h"
#include "export/messages.h"

namespace options_dialog {

namespace {

constexpr size_t kMaxPathChars = 259;
constexpr size_t kMaxRangeChars = 255;

const int kBoxes[] = {kMesh, kAnimation, kIk, kGeometry, kLightsCameras, kReverseAnimation, kSelectedOnly, kCurrentRangeOnly};

int32_t DecimalOf(const std::string& text) {
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

const char* Caption() { return "QEL Model Export"; }

const std::vector<Control>& Layout() {
    static const std::vector<Control> layout = {
        {0, ControlKind::Group, "Экспорт", true},
        {kMesh, ControlKind::CheckBox, "Мэш", true},
        {kAnimation, ControlKind::CheckBox, "Анимация", true},
        {kIk, ControlKind::CheckBox, "Инверсная кинематика", false},
        {0, ControlKind::Label, "Путь к ресурсам игры:", true},
        {kGameResourcePath, ControlKind::Edit, "", true},
        {0, ControlKind::Label, "Исходный каталог с общими текстурами:", true},
        {kCommonTextureSource, ControlKind::Edit, "", true},
        {0, ControlKind::Label, "Каталог с общими текстурами в игре:", true},
        {kCommonTexturePathInGame, ControlKind::Edit, "", true},
        {0, ControlKind::Group, "Типы объектов", true},
        {kGeometry, ControlKind::CheckBox, "Геометрия", true},
        {kLightsCameras, ControlKind::CheckBox, "Источники света\nи камеры", true},
        {0, ControlKind::Group, "Статика", true},
        {0, ControlKind::Label, "Кадр №:", true},
        {kStaticFrameEdit, ControlKind::Edit, "", true},
        {kStaticFrameSpinner, ControlKind::Spinner, "", true},
        {0, ControlKind::Group, "Настройки анимации", true},
        {0, ControlKind::Label, "Начало:", false},
        {kRangeStart, ControlKind::Edit, "", false},
        {0, ControlKind::Label, "Конец:", false},
        {kRangeEnd, ControlKind::Edit, "", false},
        {kReverseAnimation, ControlKind::CheckBox, "Обратная анимация", true},
        {kSelectedOnly, ControlKind::CheckBox, "Только выбранные объекты", true},
        {kCurrentRangeOnly, ControlKind::CheckBox, "Только в текущем диапазоне кадров", true},
        {kExport, ControlKind::Button, "Экспорт", true},
        {kCancel, ControlKind::Button, "Отмена", true},
    };
    return layout;
}

void Model::Start(bool tools_current, int32_t range_start_frame, int32_t range_end_frame) {
    exportEnabled_ = tools_current;
    checks_[kMesh] = options_.exportMesh != 0;
    checks_[kAnimation] = options_.exportAnimation != 0;
    checks_[kIk] = options_.exportIK != 0;
    checks_[kGeometry] = options_.exportGeometry != 0;
    checks_[kLightsCameras] = options_.exportLightsCameras != 0;
    checks_[kReverseAnimation] = options_.reverseAnimation != 0;
    checks_[kSelectedOnly] = options_.selectedOnly != 0;
    checks_[kCurrentRangeOnly] = options_.currentRangeOnly != 0;
    texts_[kGameResourcePath] = options_.gameResourcePath;
    texts_[kCommonTextureSource] = options_.commonTextureSourcePath;
    texts_[kCommonTexturePathInGame] = options_.commonTexturePathInGame;
    texts_[kRangeStart] = ToS(options_.rangeStart);
    texts_[kRangeEnd] = ToS(options_.rangeEnd);
    spinnerMin_ = std::min(range_start_frame, range_end_frame);
    spinnerMax_ = std::max(range_start_frame, range_end_frame);
    spinner_ = 0;
}

bool Model::Check(int id) const {
    auto it = checks_.find(id);
    return it != checks_.end() && it->second;
}

void Model::SetCheck(int id, bool on) {
    if (std::find(std::begin(kBoxes), std::end(kBoxes), id) != std::end(kBoxes)) checks_[id] = on;
}

const std::string& Model::Text(int id) const {
    static const std::string empty;
    auto it = texts_.find(id);
    return it == texts_.end() ? empty : it->second;
}

void Model::SetText(int id, const std::string& text) { texts_[id] = text; }

void Model::SetSpinnerValue(int32_t value) { spinner_ = std::clamp(value, spinnerMin_, spinnerMax_); }

Result Model::PressExport() {
    options_.exportMesh = Check(kMesh);
    options_.exportAnimation = Check(kAnimation);
    options_.exportIK = Check(kIk);
    options_.exportGeometry = Check(kGeometry);
    options_.exportLightsCameras = Check(kLightsCameras);

    struct PathEdit {
        int id;
        std::string ExportOptions::*field;
        const char* message;
    };
    const PathEdit paths[] = {
        {kGameResourcePath, &ExportOptions::gameResourcePath, export_messages::kNoGamePath},
        {kCommonTextureSource, &ExportOptions::commonTextureSourcePath, export_messages::kNoTextureSource},
        {kCommonTexturePathInGame, &ExportOptions::commonTexturePathInGame, export_messages::kNoTexturePathInGame},
    };
    for (const PathEdit& edit : paths) {
        std::string text = Text(edit.id).substr(0, kMaxPathChars);
        SetPathOption(options_.*edit.field, text);
        if (text.empty()) return Result{-1, scene::Message(edit.message)};
    }

    options_.rangeStart = DecimalOf(Text(kRangeStart).substr(0, kMaxRangeChars));
    options_.rangeEnd = DecimalOf(Text(kRangeEnd).substr(0, kMaxRangeChars));
    options_.reverseAnimation = Check(kReverseAnimation);
    options_.selectedOnly = Check(kSelectedOnly);
    options_.currentRangeOnly = Check(kCurrentRangeOnly);
    options_.staticFrame = spinner_;
    return Result{1, {}};
}

}  // namespace options_dialog
