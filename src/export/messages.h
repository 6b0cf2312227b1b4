#pragma once
// Texts the export driver, the options dialog and the tool check show to
// the artist (UTF-8 here; converted to code page 1251 when shown).
namespace export_messages {

// Options dialog.
inline constexpr const char* kNoGamePath = "Не задан путь к ресурсам игры!";
inline constexpr const char* kNoTextureSource = "Не задан исходный путь к общим текстурам!";
inline constexpr const char* kNoTexturePathInGame = "Не задан путь к общим текстурам в игре!";

// Tool check.
inline constexpr const char* kExporterOutdated =
    "Версия %s устарела!\n Настоятельно рекомендуется обновить с t:/tools/3dsmax/";
inline constexpr const char* kMaterialOutdated =
    "Версия %s устарела!\nЭкспорт невозможен. Необходимо обновить с t:/tools/3dsmax/";

// Export driver.
inline constexpr const char* kProgressTitle = "Трансформация мэшей, подготовка анимации...";
inline constexpr const char* kBodiesObsolete = "Следует убрать из модели все Body, поскольку они более не нужны.";
inline constexpr const char* kDuplicateVolume = "Повторяющееся имя объема '%s'!";
inline constexpr const char* kUnsafeModelPath =
    "Путь модели '%s' в кости '%s' выходит за пределы каталога ресурсов игры. Модель пропущена.";
inline constexpr const char* kModelFailed = "Модель '%s' не экспортирована:\n%s";
inline constexpr const char* kSameModelFiles =
    "Модель '%s' в кости '%s' записывается в те же файлы, что и модель в кости '%s'. Модель пропущена.";

// Configuration file.
inline constexpr const char* kConfigForeign =
    "Файл '%s' не является файлом настроек экспортера.\nНастройки в нем не сохраняются.";
inline constexpr const char* kConfigUnreadable = "Не удалось прочитать файл настроек '%s':\n%s\nНастройки из него не загружены.";

}  // namespace export_messages
