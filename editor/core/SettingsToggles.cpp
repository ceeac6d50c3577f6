#include "core/SettingsToggles.h"

#include "runtime/Ka7GlobalEngine.h"

namespace ra7::editor {

ToggleResult ToggleBloom(bool wanted)
{
    if (Settings.UseGLSL && Settings.BloomTextureSize != 0) {
        Settings.UseBloom = wanted;
        return {wanted, {}};
    }
    Settings.UseBloom = false;
    return {false, kBloomRefused};
}

void SetFrustumCulling(bool on)
{
    Settings.UseFrustumCulling = on;
}

void SetLod(bool on)
{
    Settings.UseLod = on;
}

} // namespace ra7::editor
