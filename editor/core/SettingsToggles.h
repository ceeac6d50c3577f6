#pragma once
// The "Настройки" menu's switches. Each toggle changes the setting in memory
// only; the check marks start as listed, whatever config.txt says.

#include <string>

namespace ra7::editor {

inline constexpr const char* kBloomRefused = "Не обнаружена поддержка GLSL или в настройках выключен Bloom";

struct EditorFlags {
    bool ShowGrid = true;
    bool ShowPanels = true;
};

struct ToggleResult {
    bool checked = false;
    std::string message; // shown in a message box when not empty
};

// "Bloom": on only with GLSL in use and a bloom texture size; otherwise
// unchecked, UseBloom off, and the refusal message.
ToggleResult ToggleBloom(bool wanted);
// "Frustum culling" and "LOD".
void SetFrustumCulling(bool on);
void SetLod(bool on);

} // namespace ra7::editor
