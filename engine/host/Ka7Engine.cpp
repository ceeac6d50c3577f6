#include "host/Ka7Engine.h"

#include "anim/Ka7AnimScriptList.h"
#include "effects/Ka7Audio.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7SoundBuffersList.h"
#include "render/Ka7Scene.h"
#include "render/RenderTargets.h"
#include "resources/Ka7Material.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneUnit.h"

#include <cfenv>
#include <optional>

namespace ra7 {

namespace {

// The floating-point environment of the host, kept while the engine runs.
std::optional<std::fenv_t> savedEnvironment;
bool bloomTargetsCreated = false;

} // namespace

void EngineInit()
{
    // Every floating-point exception masked for the engine's run: a division
    // by zero in a frame gives an infinity, not a trap.
    std::fenv_t environment;
    std::feholdexcept(&environment);
    savedEnvironment = environment;

    LogLine("Инициализируем OpenIL...");
    OpenAudio();
    LogLine("Инициализируем звуки...");
    SoundBuffers = std::make_unique<KaSoundBuffersList>();
    LogLine("Инициализируем текстуры...");
    Textures = std::make_unique<KaTextureArray>();
    LogLine("Инициализируем шейдеры...");
    Shaders = std::make_unique<KaShaderClass>();
    LogLine("Инициализируем сцену...");
    Scene = std::make_unique<KaScene>();
    LogLine("Инициализируем Lens Flare List...");
    LensFlares = std::make_unique<KaLensFlareList>();
    LogLine("Инициализируем объекты сцены");
    SceneObjects = std::make_unique<KaObjArray>();
    LogLine("Инициализируем меши");
    Meshes = std::make_unique<KaMeshList>();
    LogLine("Инициализируем материалы");
    Materials = std::make_unique<KaMaterialList>();
    DefaultMaterial = std::make_unique<KaMaterial>(MakeDefaultMaterial());
    SceneObjects->SetMaterialCatalog(Materials.get());
    LogLine("Инициализируем анимацию");
    AnimList = std::make_unique<KaAnimList>();
    if (Settings.UseFBO) {
        LogLine("Инициализируем BLOOM");
        CreateBloomTargets();
        bloomTargetsCreated = true;
    }
}

void EngineDone()
{
    if (bloomTargetsCreated) {
        LogLine("Деинициализируем BLOOM");
        DeleteBloomTargets();
        bloomTargetsCreated = false;
    }
    LogLine("Деинициализируем анимацию");
    AnimList.reset();
    LogLine("Деинициализируем объекты сцены");
    SceneObjects.reset();
    LogLine("Деинициализируем текстуры...");
    Textures.reset();
    LogLine("Деинициализируем шейдеры...");
    Shaders.reset();
    LogLine("Деинициализируем сцену...");
    Scene.reset();
    LogLine("Деинициализируем Lens Flare List...");
    LensFlares.reset();
    LogLine("Деинициализируем меши");
    Meshes.reset();
    LogLine("Деинициализируем материалы");
    DefaultMaterial.reset();
    Materials.reset();
    LogLine("Деинициализируем звуки...");
    SoundBuffers.reset();
    LogLine("Деинициализируем OpenIL...");
    CloseAudio();
    if (savedEnvironment) {
        std::fesetenv(&*savedEnvironment);
        savedEnvironment.reset();
    }
}

} // namespace ra7
