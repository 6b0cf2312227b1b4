#pragma once
// Texts the volume, zone and preview writers show to the artist (UTF-8 here;
// scene::Message gives the code page 1251 form). "%s" stands for a name.
namespace volumes::msg {

// Volumes.
inline constexpr const char* kCannotTriangulate = "Невозможно преобразовать мэш '%s' в набор треугольников!";
inline constexpr const char* kNotConvex = "Полигональный объем '%s' невыпуклый!";
inline constexpr const char* kTooManyVertices =
    "Полигональный объем '%s' содержит более 65536 вершин! Объем записан без формы.";
inline constexpr const char* kNotOrthogonal = "Матрица для объема '%s' не ортогональна или содержит масштабирование!";
inline constexpr const char* kMirrored = "Матрица для объема '%s' содержит зеркальное масштабирование!";
inline constexpr const char* kUnsafeValue =
    "Значение '%s' параметра '%s' в объеме '%s' содержит недопустимые символы ({, }, \", ( или )) и не записано.";

// Zones.
inline constexpr const char* kPolygonZoneLines = "'%s': полигональная зона должна содержать только один полигон!";

// Preview groups.
inline constexpr const char* kPreviewNotGroup = "Просмотровая кость \"%s\" должна быть группой";
inline constexpr const char* kOneCamera = "Просмотровая группа \"%s\" может содержать только одну камеру";

}  // namespace volumes::msg
