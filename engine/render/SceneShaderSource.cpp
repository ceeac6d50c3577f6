#include "render/SceneShaderSource.h"

#include "effects/Ka7Light.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

namespace ra7 {

const KaTransformation* SceneShaderSource::ObjectTransformation(std::string_view objectName)
{
    const KaSceneObj* object = SceneObjects ? SceneObjects->FindByName(objectName) : nullptr;
    return object ? object->Trans.get() : nullptr;
}

std::optional<ShaderLightState> SceneShaderSource::Light(std::string_view lightName)
{
    const KaSceneObj* object = SceneObjects ? SceneObjects->FindByName(lightName) : nullptr;
    if (!object || object->Kind() != KaObjKind::Light || !object->Trans)
        return std::nullopt;
    const auto& light = static_cast<const KaLight&>(*object);
    ShaderLightState state;
    state.Position = light.Trans->Position;
    state.Static = light.Static;
    state.Range = light.LightParams[0];
    state.Ambient = light.Ambient;
    state.Diffuse = light.Diffuse;
    state.Specular = light.Specular;
    return state;
}

Vector3 SceneShaderSource::ActiveCameraPosition()
{
    const KaCamera* camera = SceneObjects ? SceneObjects->ActiveCamera() : nullptr;
    return camera && camera->Trans ? camera->Trans->Position : kZeroVector;
}

void UseSceneForShaders()
{
    static SceneShaderSource source;
    SetShaderSceneSource(&source);
}

} // namespace ra7
