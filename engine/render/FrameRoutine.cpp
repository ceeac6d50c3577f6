#include "render/FrameRoutine.h"

#include "effects/Ka7Sound.h"

#include "render/Ka7Scene.h"
#include "render/Ortho2D.h"
#include "render/RenderTargets.h"
#include "render/SceneShaderSource.h"
#include "resources/Ka7Material.h"
#include "runtime/Capabilities.h"
#include "runtime/GLChecks.h"
#include "runtime/Ka7EngineErrors.h"
#include "runtime/Ka7GlobalEngine.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

#include <epoxy/gl.h>

namespace ra7 {
namespace {

void call(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

void callOr(const std::function<void()>& hook, void (*fallback)())
{
    if (hook)
        hook();
    else
        fallback();
}

// Colour components of 10 are clamped by the driver to full intensity.
void drawAxes()
{
    glBegin(GL_LINES);
    glColor3f(10, 0, 0);
    glVertex3f(0, 0, 0);
    glVertex3f(1, 0, 0);
    glColor3f(0, 10, 0);
    glVertex3f(0, 0, 0);
    glVertex3f(0, 1, 0);
    glColor3f(0, 0, 10);
    glVertex3f(0, 0, 0);
    glVertex3f(0, 0, 1);
    glEnd();
}

void drawGrid()
{
    glColor3f(0.4f, 0.4f, 0.4f);
    glBegin(GL_LINES);
    for (int i = -15; i <= 15; ++i) {
        const auto f = static_cast<float>(i);
        glVertex3f(f, -1, -15);
        glVertex3f(f, -1, 15);
        glVertex3f(-15, -1, f);
        glVertex3f(15, -1, f);
    }
    glEnd();
}

} // namespace

void ApplyStartupGLState()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_CULL_FACE);
    glDepthFunc(GL_LEQUAL);
    glMatrixMode(GL_PROJECTION);
}

void UpdateScene(const FrameHooks& hooks)
{
    SceneObjects->UpdateRoots();
    // After the roots moved, so that the camera's PrevTrans is the last frame's placement
    // and the listener's velocity that of one frame, as the sources' is.
    callOr(hooks.Listener, UpdateSceneListener);
    if (KaCamera* camera = SceneObjects->ActiveCamera())
        camera->UpdateFrustumFromGL();
}

void RenderFrame(const FrameOptions& options, const FrameHooks& hooks)
{
    KaScene& scene = *Scene;
    UseSceneForShaders();
    if (const KaCamera* camera = SceneObjects->ActiveCamera())
        camera->Trans->ApplyView();
    glDisable(GL_LIGHTING);
    call(hooks.Picking);

    if (Settings.UseBloom) {
        glClearColor(0, 0, 0, 1);
        scene.RenderBloom();
        callOr(hooks.RestoreViewport, ResetProjection);
    }

    glClearColor(0.6f, 0.6f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_LIGHTING);
    scene.RenderStatic();

    glDisable(GL_LIGHTING);
    if (HasMultitexture)
        glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (options.ShowAxes)
        drawAxes();
    if (options.ShowGrid)
        drawGrid();
    call(hooks.Selection);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);

    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.3f);
    scene.RenderOpaque();
    glDisable(GL_ALPHA_TEST);
    scene.RenderEffects();
    glDisable(GL_LIGHTING);

    if (options.ShowBounds)
        scene.RenderBounds(options.SelectedName);
    scene.RenderBlended();
    call(hooks.Gizmo);

    if (DefaultMaterial)
        DefaultMaterial->Apply();
    callOr(hooks.Enter2D, Enter2DMode);
    call(hooks.OverlayBeforeBloom);
    if (Settings.UseBloom)
        scene.DrawBloom();
    call(hooks.OverlayAfterBloom);
    callOr(hooks.Leave2D, Leave2DMode);
    // The gizmo may leave GL_EQUAL; the next frame's background starts from
    // the start-up depth function.
    glDepthFunc(GL_LEQUAL);

    CheckGLError();
    CheckEngineError();
}

} // namespace ra7
