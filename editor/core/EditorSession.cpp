#include "core/EditorSession.h"

#include "render/FrameRoutine.h"

#include "anim/Ka7AnimScriptList.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Light.h"
#include "effects/Ka7SoundBuffersList.h"
#include "math/DotMath.h"
#include "render/Ka7Scene.h"
#include "resources/DrawState.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/DisplaySetup.h"
#include "runtime/DotWindow.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7Log.h"
#include "runtime/KaRandom.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <epoxy/gl.h>

#include <exception>
#include <string>
#include <unordered_set>

namespace ra7::editor {

namespace {

// A copy of the template geometry `name` of the helper scene, without its
// material; the template leaves the scene.
std::unique_ptr<KaGeometry> takeTemplate(std::string_view name)
{
    const auto* found = dynamic_cast<const KaGeometry*>(SceneObjects->FindByName(name));
    if (!found)
        throw Error(std::string(kEditorDataFile) + ": no geometry \"" + std::string(name) + "\"");
    auto model = std::make_unique<KaGeometry>();
    model->Assign(*found);
    model->MaterialName.clear();
    SceneObjects->DeleteByName(name);
    return model;
}

std::unique_ptr<KaGeometry> copyOf(const KaGeometry& source, const Matrix3& rotation)
{
    auto model = std::make_unique<KaGeometry>();
    model->Assign(source);
    model->Trans->Rotation = rotation;
    return model;
}

} // namespace

EditorSession::EditorSession(TDotContext& context) : context_(context)
{
    Randomize();
    startup_.OpenConsole();
    try {
        startup_.ReadSettings();
        startup_.SetupDisplay(context_);
    } catch (const std::exception& e) {
        EngineStartup::LogFailure(e);
        shutDown();
        throw;
    }
}

EditorSession::~EditorSession()
{
    shutDown();
}

void EditorSession::Start()
{
    try {
        context_.MakeCurrent();
        startup_.StartEngine(context_);
        createDefaultObjects();
        ExecuteCommand("glinfo");
        ExecuteCommand("alinfo");
        text2D_ = std::make_unique<KaEngine2D>();
        ApplyStartupGLState();
        buildEditorModels();
        started_ = true;
    } catch (const std::exception& e) {
        EngineStartup::LogFailure(e);
        SaveLog();
        throw;
    }
}

void EditorSession::createDefaultObjects()
{
    // ActiveCameraName is still empty, so the copied camera becomes the active one.
    const KaCamera camera;
    SceneObjects->AddCopy(camera);
    KaLight light;
    light.Trans->Position = Vector3{10, 10, 10};
    SceneObjects->AddCopy(light);
}

void EditorSession::AddDefaultObjects()
{
    createDefaultObjects();
}

void EditorSession::NewScene(bool withDefaultObjects)
{
    AnimList->Clear();
    SceneObjects->Clear();
    ActiveCameraName.clear();
    CurrentLightName.clear();
    CurrentObjectName.clear();
    Materials->Clear();
    LensFlares->Clear();
    Textures->Clear();
    SoundBuffers->Clear();
    std::unordered_set<std::string> models;
    for (const KaGeometry* model : {arrowX_.get(), arrowY_.get(), arrowZ_.get(), ra7::CameraModel.get()})
        if (model)
            models.insert({model->MeshName, model->MeshLod1, model->MeshLod2});
    for (std::int32_t i = Meshes->Count() - 1; i >= 0; --i)
        if (models.count(Meshes->Get(i).Name) == 0)
            Meshes->Delete(i);
    Meshes->Changed = true;
    *Scene = KaScene();
    if (withDefaultObjects)
        createDefaultObjects();
    SceneObjects->MarkChanged();
}

void EditorSession::buildEditorModels()
{
    SceneObjects->LoadFromFile(kEditorDataFile);
    // The template points along +x; with row vectors a turn of +90° about z
    // takes +x to +y and one of −90° about y takes it to +z.
    arrowX_ = takeTemplate("arrow");
    arrowY_ = copyOf(*arrowX_, RotationZ(DegToRad(90)));
    arrowZ_ = copyOf(*arrowX_, RotationY(DegToRad(-90)));
    // The materials of the helper scene are not the user's.
    Materials->Clear();
    ra7::CameraModel = takeTemplate("camera"); // cameras draw it as their marker
}

void EditorSession::shutDown() noexcept
{
    startup_.Shutdown(context_.HasContext() ? &context_ : nullptr, [this] {
        started_ = false;
        arrowY_.reset();
        arrowX_.reset();
        arrowZ_.reset();
        ra7::CameraModel.reset();
        SetDisplayMode(0, 0, 0, 0);
        text2D_.reset();
    });
}

} // namespace ra7::editor
