#pragma once
// The scene model's and model description's texts to the artist (UTF-8
// here; Message converts to the host's code page 1251). "%s" stands for a
// text, "%d" for a decimal number.
#include <string>

namespace scene {

/// The code page 1251 form of a catalogue text.
std::string Message(const char* utf8);

namespace msg {

inline constexpr const char* kCaptionError = "Ошибка";
inline constexpr const char* kCaptionWarning = "Предупреждение";

// Bone tree.
inline constexpr const char* kNothingToExport = "Нечего экспортировать!\nВозможно, скрыта корневая кость.";
inline constexpr const char* kNoModel = "В кости '%s' должно быть указано 'Model' или 'XModel'!";
inline constexpr const char* kMissingLod = "В кости '%s' пропущен уровень детализации №%d!";
inline constexpr const char* kLodHasChildren = "К кости уровня детализации '%s' не должны быть прилинкованы объекты!";
inline constexpr const char* kDuplicateBone = "Найдено повторяющееся имя кости: %s!";

// IK joints.
inline constexpr const char* kUnknownIkType = "Неизвестный тип IK '%s' в кости '%s'";

}  // namespace msg
}  // namespace scene
