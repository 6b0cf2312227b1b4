#pragma once
// Class identities as the host reports them: a super class (the family:
// geometry, light, material, ...) and a two-word class id within it.
#include <cstdint>

namespace host {

using SuperClassId = uint32_t;

struct ClassId {
    uint32_t a = 0;
    uint32_t b = 0;

    constexpr ClassId() = default;
    constexpr ClassId(uint32_t a_, uint32_t b_) : a(a_), b(b_) {}
    constexpr bool operator==(const ClassId& other) const { return a == other.a && b == other.b; }
    constexpr bool operator!=(const ClassId& other) const { return !(*this == other); }
    /// Orders by a, then b (for maps keyed by class).
    constexpr bool operator<(const ClassId& other) const { return a != other.a ? a < other.a : b < other.b; }
};

// Super classes.
constexpr SuperClassId kGeomObjectClass = 0x10;
constexpr SuperClassId kCameraClass = 0x20;
constexpr SuperClassId kLightClass = 0x30;
constexpr SuperClassId kShapeClass = 0x40;
constexpr SuperClassId kHelperClass = 0x50;
constexpr SuperClassId kNodeClass = 0x1;
constexpr SuperClassId kParamBlockClass = 0x82;
constexpr SuperClassId kModifierClass = 0x810;
constexpr SuperClassId kSceneExportClass = 0xA20;
constexpr SuperClassId kMaterialClass = 0xC00;
constexpr SuperClassId kTextureClass = 0xC10;

// Object classes.
constexpr ClassId kEditableMeshClassId{0xE44F10B3, 0};
constexpr ClassId kBoxClassId{0x10, 0};
constexpr ClassId kSphereClassId{0x11, 0};
constexpr ClassId kCylinderClassId{0x12, 0};
constexpr ClassId kDummyClassId{0x876234, 0};
constexpr ClassId kTargetClassId{0x1020, 0};
constexpr ClassId kRectangleClassId{0x1065, 0};
constexpr ClassId kCircleClassId{0x1999, 0};
constexpr ClassId kLineClassId{0x1A0D, 0};
constexpr ClassId kFreeCameraClassId{0x1001, 0};
constexpr ClassId kTargetCameraClassId{0x1002, 0};
constexpr ClassId kOmniLightClassId{0x1011, 0};
constexpr ClassId kSpotLightClassId{0x1012, 0};
constexpr ClassId kDirectionalLightClassId{0x1013, 0};
constexpr ClassId kAmbientLightClassId{0x1016, 0};

// Modifier classes.
constexpr ClassId kSkinClassId{0x95C723, 0x15666};

// Material classes.
constexpr ClassId kStandardMaterialClassId{0x2, 0};
constexpr ClassId kMultiMaterialClassId{0x200, 0};
constexpr ClassId kTwoLayerMaterialClassId{0x140575, 0};

// Texture classes.
constexpr ClassId kBitmapTextureClassId{0x240, 0};
constexpr ClassId kNormalBumpClassId{0x243E22C6, 0x63F6A014};
constexpr ClassId kMixTextureClassId{0x230, 0};
constexpr ClassId kRgbMultiplyClassId{0x290, 0};
constexpr ClassId kCheckerClassId{0x200, 0};
constexpr ClassId kVertexColorClassId{0x934851, 0};

}  // namespace host
