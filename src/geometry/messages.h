#pragma once
// The geometry subsystem's texts. Messages to the artist are UTF-8 here
// (scene::Message gives the code page 1251 form); "%s" stands for a name.
// The triangle optimiser's lines go to standard output as they are: they
// are diagnostics for developers, not messages to the artist.
namespace geometry::msg {

// Extraction.
inline constexpr const char* kBrokenVertexAlpha = "Испорченный канал вертескной альфы в '%s'";
inline constexpr const char* kWorldMapping =
    "Неподдерживаемый канал текстурирования в материале '%s'. Будет использоваться 'Object XYZ'.";
inline constexpr const char* kPreparingMesh = "Подготовка мэша к триангуляции...";

// Skinning.
inline constexpr const char* kTooManySkinBones = "Слишком много костей для скиннинга мэша '%s'";
inline constexpr const char* kSkinInUnskinnedGroup = "Скиновый мэш в нескиновой группе!";

// The mesh writer.
inline constexpr const char* kTooManyVertices = "Более 65535 вершин в '%s'!";
/// A submesh whose first triangle or triangle count does not fit the 16-bit
/// fields of its section.
inline constexpr const char* kTooManyTriangles =
    "Подмэш в '%s' начинается после 65535-го треугольника или содержит более 65535 треугольников!";
inline constexpr const char* kMirroredSharedMesh = "Инверсный общий полигональный мэш в '%s' не поддерживается!";
inline constexpr const char* kDegenerateTriangles = "Есть вырожденные треугольники в мэше '%s'. Используйте WELD.";
inline constexpr const char* kOptimiserFailed = "GenerateStrips failed!";
inline constexpr const char* kOptimiserFailedCaption = "Error";

// The triangle optimiser.
inline constexpr const char* kEdgeSharedByMoreThanTwo =
    "BuildStripifyInfo: > 2 triangles on an edge... uncertain consequences";
inline constexpr const char* kTriangleLacksVertices = "GetNextIndex: Triangle doesn't have all of its vertices";
inline constexpr const char* kDuplicateTriangleDerailed = "GetNextIndex: Duplicate triangle probably got us derailed";

}  // namespace geometry::msg
