#pragma once
// The engine's start-up settings, read from config.txt in the working
// directory. The file holds 21 lines in a fixed order and is read by
// position: the key texts are written but never compared.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

inline constexpr const char* kConfigFileName = "config.txt";

struct EngineSettings {
    std::int32_t ScreenColor = 0;
    std::int32_t ScreenRefresh = 85;
    std::int32_t ScreenAlpha = 24;
    std::int32_t ScreenDepth = 24;
    std::int32_t ScreenStencil = 0;
    std::int32_t ScreenWidth = 0;  // full-screen mode at start, then the viewport width
    std::int32_t ScreenHeight = 0; // full-screen mode at start, then the viewport height
    bool VSync = true;
    std::int32_t AnisotropyLevel = 0;
    std::int32_t AntialiasingLevel = 1;
    std::uint32_t BloomTextureSize = 256;
    bool UseBloomBrightPass = false;
    bool UseLod = true;
    bool UseFrustumCulling = false;
    bool UseMotionBlur = true;
    float MotionBlurMultLevel = 0.9f;
    float MotionBlurAccumLevel = 0.1f;
    bool UseGLSL = false;
    bool UseVBO = false;
    bool UseFBO = false;
    bool Use2D = true;

    // Derived while a file is read; they stay false when there is no file.
    // Capability detection may clear them again.
    bool UseAnisotropy = false;
    bool UseBloom = false;
};

// The settings every subsystem consults. Reset to the defaults by
// `ResetSettings` (start-up and test fixtures).
extern EngineSettings Settings;

void ResetSettings();

// Reads the settings from `fileName`, or, when it does not exist, logs
// "! Не найден файл конфигурации <name>" and writes config.txt with the
// current values. Throws on a read error, a negative bloom size or an empty
// boolean line (start-up stops with that message).
void LoadConfig(std::string_view fileName);

// Writes all 21 settings to `fileName`, replacing it atomically.
void SaveConfig(std::string_view fileName);

// The rules of LoadConfig on lines already read; `fileName` names the file in
// error messages. Lines past the 21st are ignored, missing lines count as empty.
void ApplyConfigLines(const std::vector<std::string>& lines, std::string_view fileName,
                      EngineSettings& settings);

// The 21 lines SaveConfig writes, "KEY: value" each.
std::vector<std::string> ConfigLines(const EngineSettings& settings);

} // namespace ra7
