#include "RenderCommand.h"

#include "ImageOutput.h"
#include "LoggedFailures.h"

#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Light.h"
#include "resources/Ra7Davevi2D.h"

#include "host/HeadlessEngine.h"
#include "render/FrameRoutine.h"
#include "render/Ka7Scene.h"
#include "render/RenderTargets.h"
#include "resources/Ka7TextureIL.h"
#include "runtime/DotWindow.h"
#include "runtime/Errors.h"
#include "runtime/FrameTime.h"
#include "runtime/HeadlessContext.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace ra7 {
namespace {

constexpr const char* kDefaultCameraName = "ra7 camera";

// The camera the frames are drawn from: the one asked for, the scene's
// active one, its first camera, or a new one that looks along −z at the
// middle of the scene from far enough to see all of it.
void chooseCamera(const RenderOptions& options)
{
    KaObjArray& scene = *SceneObjects;
    if (!options.camera.empty()) {
        const KaSceneObj* named = scene.FindByName(options.camera);
        if (!named || named->Kind() != KaObjKind::Camera)
            throw Error("no camera named \"" + options.camera + "\" in " + options.scene);
        ActiveCameraName = options.camera;
        return;
    }
    if (scene.ActiveCamera())
        return;
    for (std::int32_t i = 0; i < scene.Count(); ++i)
        if (const KaSceneObj* object = scene.GetItem(i); object && object->Kind() == KaObjKind::Camera) {
            ActiveCameraName = object->Name();
            return;
        }

    Vector3 low{0, 0, 0};
    Vector3 high{0, 0, 0};
    bool any = false;
    for (std::int32_t i = 0; i < scene.Count(); ++i) {
        const KaSceneObj* object = scene.GetItem(i);
        if (!object || !object->Trans || object->Static)
            continue;
        const Vector3& p = object->Trans->Position;
        low = any ? Vector3{std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)} : p;
        high = any ? Vector3{std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)} : p;
        any = true;
    }
    const Vector3 middle = VectorScale(VectorAdd(low, high), 0.5f);
    const float extent = std::max({high.x - low.x, high.y - low.y, 1.0f}) / 2.0f + 2.0f;
    // 45° vertical field of view: the extent fits at 2.5 times its size.
    auto camera = std::make_unique<KaCamera>();
    camera->SetName(kDefaultCameraName);
    camera->Trans->Position = {middle.x, middle.y, high.z + 2.5f * extent + 1.0f};
    scene.Add(std::move(camera));
    ActiveCameraName = kDefaultCameraName;
}

bool hasLight(const KaObjArray& scene)
{
    for (std::int32_t i = 0; i < scene.Count(); ++i)
        if (const KaSceneObj* object = scene.GetItem(i); object && object->Kind() == KaObjKind::Light)
            return true;
    return false;
}

} // namespace

std::string AddDefaultLightWhenUnlit(KaObjArray& scene)
{
    if (hasLight(scene))
        return {};
    // The light the editor starts with, so a scene looks as it does there.
    auto light = std::make_unique<KaLight>();
    light->SetName(scene.MakeUniqueName(kDefaultLightName));
    light->Trans->Position = kDefaultLightPosition;
    const std::string name = light->Name();
    scene.Add(std::move(light));
    return "the scene has no light; drawn lit by the editor's default light \"" + name + "\" at (10, 10, 10)";
}

std::int32_t FrameCount(const RenderOptions& options)
{
    if (options.simulatedMs > 0 && options.frameMs > 0)
        return std::max(1, static_cast<std::int32_t>(std::ceil(options.simulatedMs / options.frameMs)));
    return std::max(1, options.frames);
}

int RunRender(const RenderOptions& options)
{
    if (options.width <= 0 || options.height <= 0 || options.width > kMaxImageSide ||
        options.height > kMaxImageSide) {
        std::cerr << "ra7 render: the size must be between 1 and " << kMaxImageSide << " pixels each way\n";
        return 2;
    }
    // Refused before the engine starts, so nothing is written.
    for (const std::string& problem : {ImageTypeProblem(options.output), ImageFolderProblem(options.output)})
        if (!problem.empty()) {
            std::cerr << "ra7 render: " << problem << '\n';
            return 1;
        }
    try {
        HeadlessEngine engine(options.width, options.height);
        std::size_t logReported = LogLines().size();
        Settings.UseFrustumCulling = options.culling;
        Settings.UseBloom = options.bloom && Settings.UseFBO && Settings.UseGLSL;
        if (options.bloom && !Settings.UseBloom)
            std::cerr << "ra7 render: bloom needs USE FBO and USE GLSL (and a driver that offers them); "
                         "drawing without it\n";

        SceneObjects->LoadFromFile(options.scene);
        if (!options.flares.empty())
            LensFlares->LoadFromFile(options.flares);
        logReported = PrintLoggedFailures("render", logReported);
        chooseCamera(options);
        if (const std::string lit = AddDefaultLightWhenUnlit(*SceneObjects); !lit.empty())
            std::cerr << "ra7 render: " << lit << '\n';
        SceneObjects->RebuildLists();
        Scene->ShowMarkers = options.markers;

        ApplyStartupGLState();
        ResetProjection();
        // The first update reads the view volume from this view.
        SceneObjects->ActiveCamera()->Trans->ApplyView();

        FrameOptions frame;
        frame.ShowAxes = options.axes;
        frame.ShowGrid = options.grid;
        // The overlay as the editor draws it: the lens flares of the sprites in
        // 2-D mode with the overlay font's projection.
        const KaEngine2D text2D;
        FrameHooks hooks;
        hooks.Enter2D = [&text2D] { text2D.Begin2D(); };
        hooks.Leave2D = [&text2D] { text2D.End2D(); };
        hooks.OverlayBeforeBloom = [] { LensFlares->Render(); };
        const std::int32_t frames = FrameCount(options);
        FrameTime = options.frameMs;
        for (std::int32_t i = 0; i < frames; ++i) {
            UpdateScene(hooks);
            RenderFrame(frame, hooks);
            engine.Context().SwapBuffers();
        }
        PrintLoggedFailures("render", logReported);
        WriteImage(options.output, options.width, options.height, engine.Headless().ReadPixels());
        if (!options.quiet)
            std::cout << "ra7 render: " << frames << " frame(s) of " << options.scene << " written to "
                      << options.output << " (" << options.width << " x " << options.height << ")\n";
    } catch (const std::exception& e) {
        std::cerr << "ra7 render: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

} // namespace ra7
