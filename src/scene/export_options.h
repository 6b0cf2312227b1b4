#pragma once
// The options of one export: what is exported, from which frame, and where
// the files go. They come from the configuration file left by the previous
// export, then from the options dialog, or from the built-in defaults when
// the host asks for no prompts.
#include <cstdint>
#include <string>

struct ExportOptions {
    // Stored in the configuration file, in its order.
    int32_t exportMesh = 1;
    int32_t exportAnimation = 1;
    int32_t reserved1 = 0;
    int32_t reserved2 = 1;  // a new export starts at 1; the no-prompt default is 0
    int32_t reserved3 = 0;
    int32_t exportIK = 1;
    int32_t reserved4 = 1;
    int32_t reserved5 = 1;
    int32_t exportGeometry = 1;
    int32_t reserved6 = 1;
    int32_t reserved7 = 0;
    int32_t exportLightsCameras = 1;
    int32_t reserved8 = 0;
    int32_t reserved9 = 1;
    int32_t ambientPercent = 50;
    int32_t reserved10 = 0;
    int32_t reserved11 = 4;
    std::string gameResourcePath = "d:/thegame/";
    uint8_t reverseAnimation = 0;
    uint8_t selectedOnly = 0;
    std::string commonTextureSourcePath = "d:/-projects-/-bitmaps-/";
    uint8_t currentRangeOnly = 0;
    std::string commonTexturePathInGame = "texture/common/";

    // Not stored.
    int32_t staticFrame = 0;
    int32_t rangeStart = 0;
    int32_t rangeEnd = 0;

    bool operator==(const ExportOptions&) const = default;
};

/// The options of a newly created export object.
ExportOptions InitialOptions();

/// The stored options' defaults that replace everything when there are no
/// prompts; staticFrame is 0 and the frame range is left as it was.
void ApplyNoPromptDefaults(ExportOptions& options);

/// Stores a path option the way every path is kept: lower case, '/' only.
void SetPathOption(std::string& field, const std::string& value);
