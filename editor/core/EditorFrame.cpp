#include "core/EditorFrame.h"

#include "anim/Ka7AnimScriptList.h"
#include "core/FrameClock.h"
#include "effects/AudioListener.h"
#include "runtime/FrameTime.h"
#include "runtime/GLChecks.h"
#include "runtime/Ka7EngineErrors.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

#include <epoxy/gl.h>

namespace ra7::editor {

namespace {

void drawAxes()
{
    // Components of 10 are clamped by the driver to full colour.
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

void UpdateScene()
{
    if (const KaCamera* camera = SceneObjects->ActiveCamera())
        UpdateListener(*camera->Trans, *camera->PrevTrans);
    SceneObjects->UpdateRoots();
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
    if (const KaCamera* camera = SceneObjects->ActiveCamera())
        camera->Trans->ApplyView();
    glDisable(GL_LIGHTING);

    ClearView();

    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawAxes();
    if (frame.showGrid)
        drawGrid();
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);

    CheckGLError();
    CheckEngineError();
}

} // namespace ra7::editor
