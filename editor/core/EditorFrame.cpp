#include "core/EditorFrame.h"

#include "anim/Ka7AnimScriptList.h"
#include "core/FrameClock.h"
#include "effects/Ka7LensFlareList.h"
#include "render/FrameRoutine.h"
#include "resources/Ra7Davevi2D.h"
#include "runtime/FrameTime.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/TextUtil.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

#include <epoxy/gl.h>

#include <malloc.h>

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

namespace {

// Bytes the allocator holds for the program: in use, small and mapped blocks.
std::size_t heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The text lines at x = 10 and the axis tripod in the lower right corner, in
// 2-D mode (one unit a pixel, origin at the lower left).
void drawOverlay(const FrameInputs& frame, const std::array<float, 3>& picked)
{
    const KaEngine2D& text = *frame.text2D;
    const std::array<float, 4> white = {1, 1, 1, 1};
    text.DrawText(white, "FPS:" + frame.fpsText, 10, 10);
    text.DrawText(white, "MEM:" + std::to_string(heapBytes()), 10, 25);
    text.DrawText(white,
                  "X:" + formatSingle(picked[0]) + " Y:" + formatSingle(picked[1]) +
                      " Z:" + formatSingle(picked[2]),
                  10, 40);

    const KaCamera* camera = SceneObjects->ActiveCamera();
    if (!camera)
        return;
    glPushMatrix();
    glTranslatef(static_cast<float>(Settings.ScreenWidth) - 50, 20, 0);
    const Matrix4 rotation = Matrix3To4(camera->Trans->Rotation);
    glMultMatrixf(rotation.data());
    glEnable(GL_BLEND);
    glBegin(GL_LINES);
    glColor3f(1, 0, 0);
    glVertex3f(0, 0, 0);
    glVertex3f(30, 0, 0);
    glColor3f(0, 1, 0);
    glVertex3f(0, 0, 0);
    glVertex3f(0, 30, 0);
    glColor3f(0, 0, 1);
    glVertex3f(0, 0, 0);
    glVertex3f(0, 0, 30);
    glEnd();
    glColor3f(0.2f, 0.2f, 0.2f);
    glPopMatrix();
}

} // namespace

void paintFrame(const FrameInputs& frame)
{
    ApplyViewport(frame.clientWidth, frame.clientHeight, frame.view);
    glLoadIdentity();
    FrameOptions options;
    options.ShowGrid = frame.showGrid;
    options.ShowBounds = frame.showBounds;
    options.SelectedName = frame.selectedName;
    FrameHooks hooks;
    hooks.RestoreViewport = [&frame] { ApplyViewport(frame.clientWidth, frame.clientHeight, frame.view); };
    hooks.OverlayBeforeBloom = [] { LensFlares->Render(); };
    std::array<float, 3> picked = frame.pickedColour;
    if (frame.picking)
        hooks.Picking = [&frame, &picked] { picked = frame.picking(); };
    // The outlines want blending; a model held for conversion is drawn
    // after them, solid and lit.
    if (frame.modelPreview)
        hooks.Selection = [&frame] {
            if (frame.outlines)
                frame.outlines();
            glDisable(GL_BLEND);
            glEnable(GL_LIGHTING);
            frame.modelPreview();
        };
    else
        hooks.Selection = frame.outlines;
    hooks.Gizmo = frame.gizmo;
    if (frame.text2D) {
        hooks.Enter2D = [&frame] { frame.text2D->Begin2D(); };
        hooks.Leave2D = [&frame] { frame.text2D->End2D(); };
        hooks.OverlayAfterBloom = [&frame, &picked] { drawOverlay(frame, picked); };
    }
    RenderFrame(options, hooks);
}

} // namespace ra7::editor
