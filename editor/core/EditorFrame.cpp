#include "core/EditorFrame.h"

#include "anim/Ka7AnimScriptList.h"
#include "core/FrameClock.h"
#include "effects/Ka7LensFlareList.h"
#include "runtime/FrameTime.h"
#include "scene/FrameRoutine.h"
#include "scene/Ka7SceneUnit.h"

#include <epoxy/gl.h>

namespace ra7::editor {

void UpdateScene()
{
    ra7::UpdateScene(FrameHooks{});
    AnimList->Update(FrameTime);
}

void AdvanceClock(FrameClock& clock)
{
    clock.Tick();
    FrameTime = clock.FrameTime();
}

void ClearView()
{
    glClearColor(0.6f, 0.6f, 0.6f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void MakeViewOpaque()
{
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

void paintFrame(const FrameInputs& frame)
{
    ApplyViewport(frame.clientWidth, frame.clientHeight, frame.view);
    glLoadIdentity();
    FrameOptions options;
    options.ShowGrid = frame.showGrid;
    FrameHooks hooks;
    hooks.RestoreViewport = [&frame] { ApplyViewport(frame.clientWidth, frame.clientHeight, frame.view); };
    hooks.OverlayBeforeBloom = [] { LensFlares->Render(); };
    RenderFrame(options, hooks);
}

} // namespace ra7::editor
