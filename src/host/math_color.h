#pragma once
// Colours as the host hands them: floats, 0..1 nominal, values outside kept.
namespace host {

struct Color {
    float r = 0.0f, g = 0.0f, b = 0.0f;

    Color() = default;
    Color(float r_, float g_, float b_) : r(r_), g(g_), b(b_) {}
    Color operator*(float s) const { return {r * s, g * s, b * s}; }
    Color operator+(const Color& c) const { return {r + c.r, g + c.g, b + c.b}; }
    bool operator==(const Color& c) const { return r == c.r && g == c.g && b == c.b; }
};

/// A colour with alpha (1: opaque).
struct AColor {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;

    AColor() = default;
    AColor(float r_, float g_, float b_, float a_ = 1.0f) : r(r_), g(g_), b(b_), a(a_) {}
    explicit AColor(const Color& c, float a_ = 1.0f) : r(c.r), g(c.g), b(c.b), a(a_) {}
    bool operator==(const AColor& c) const { return r == c.r && g == c.g && b == c.b && a == c.a; }
};

}  // namespace host
