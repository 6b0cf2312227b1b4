#pragma once
// Animation's texts to the artist (UTF-8; scene::Message gives the code page
// 1251 form). "%s" stands for a text, "%d" for a decimal number.
namespace animation::msg {

// Ranges.
inline constexpr const char* kSelectionNotFound =
    "Именованное выделение '%s' не найдено.\nИспользуется текущее выделение.";
inline constexpr const char* kEndBeforeStart = "В анимации '%s' конечный кадр меньше начального.\nАнимация пропущена.";
inline constexpr const char* kFrameOutOfRange =
    "В анимации '%s' кадры должны быть в пределах от 0 до 65535.\nАнимация пропущена.";
inline constexpr const char* kUnsafeFileName =
    "Имя файла '%s' анимации '%s' выходит за пределы каталога модели.\nАнимация пропущена.";

// Sampling.
inline constexpr const char* kTableTooLarge =
    "Анимации модели '%s' слишком велики: %d кадров для %d костей.\nАнимация не экспортирована.";
inline constexpr const char* kNonOrthoText = "Non-ortho";
inline constexpr const char* kNonOrthoCaption = "ERROR";

// Files.
inline constexpr const char* kTooManyBones = "Более 255 анимированых костей в анимации '%s'";

}  // namespace animation::msg
