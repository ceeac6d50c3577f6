#pragma once
// What the lighting programs read, taken from SceneObjects: the object
// being drawn, the light of the pass and the active camera, all found by name.

#include "resources/Ka7Shaders.h"

namespace ra7 {

class SceneShaderSource : public ShaderSceneSource {
public:
    const KaTransformation* ObjectTransformation(std::string_view objectName) override;
    std::optional<ShaderLightState> Light(std::string_view lightName) override;
    Vector3 ActiveCameraPosition() override;
};

// Installs a SceneShaderSource for the shader callbacks (idempotent).
void UseSceneForShaders();

} // namespace ra7
