#pragma once
// The materials subsystem's texts to the artist (UTF-8 here; scene::Message
// gives the code page 1251 form). "%s" stands for a text.
namespace materials::msg {

// Materials.
inline constexpr const char* kWritingTextures = "Запись текстур...";
inline constexpr const char* kDuplicateMaterial = "Повторяющееся имя материала '%s'!";

// Texture files. The source is the texture's file (or the texture's name for
// a map without a file), then the destination file.
inline constexpr const char* kTextureCopyFailed = "Не удалось скопировать текстуру '%s' в '%s'.";
inline constexpr const char* kTextureConversionFailed = "Не удалось преобразовать текстуру '%s' в '%s'.";
/// A shared texture whose path leaves the common texture folder: the file,
/// the folder and the generated name used instead.
inline constexpr const char* kSharedTextureOutside =
    "Общая текстура '%s' лежит вне папки общих текстур '%s'.\nИспользуется имя '%s'.";

}  // namespace materials::msg
