#pragma once
// The model description's texts to the artist (UTF-8; scene::Message gives
// the code page 1251 form).
namespace model::msg {

inline constexpr const char* kMeshBoneNotFound = "Кость '%s' для общего мэша не найдена!";
inline constexpr const char* kMeshBoneOutsideHierarchy = "Кость '%s' для общего мэша находится не в родительской иерархии!";
inline constexpr const char* kNotOrthogonal =
    "Матрица для кости '%s' не ортогональна или содержит неодинаковое масштабирование по осям!";
inline constexpr const char* kOutsideGroup = "Не относящаяся к группе кость '%s' прилинкована внутрь группы!";
inline constexpr const char* kVoxelsUnsupported = "'%s': Экспорт воксельных мэшей больше не поддерживается.";
inline constexpr const char* kPolyWithoutPolygons =
    "'%s': Помечен как полигональный, но не содержит ни одного полигона.\nНеобходимо убрать из параметров 'Poly' и "
    "переэкпортировать.";
inline constexpr const char* kUnsafeValue =
    "Значение '%s' параметра '%s' в кости '%s' содержит недопустимые символы ({, }, \", ( или )) и не записано.";
inline constexpr const char* kNotFiniteIkValue =
    "Значение '%s' параметра '%s' в кости '%s' не является конечным числом и записано как 0.";

}  // namespace model::msg
