#pragma once
// The material plug-in's texts to the artist (UTF-8 here; Message converts
// them to the host's code page 1251).
#include <string>

namespace corvane {

/// The code page 1251 form of a catalogue text.
std::string Message(const char* utf8);

namespace msg {

inline constexpr const char* kCaptionAttention = "Внимание";
inline constexpr const char* kMultiMaterialRefused = "Нельзя задать материал Multi/Sub-Object как подматериал Corvane";

// The transparency radio buttons, for blend_type 0 to 4.
inline constexpr const char* kBlendLabels[] = {
    "Непрозрачный (None)",
    "Альфа 1 бит (Test)",
    "Альфа 8 бит (Blend)",
    "Альфа по интенсивности цвета (Add)",
    "Альфа по интенсивности цвета (Sub)",
};

}  // namespace msg
}  // namespace corvane
