#pragma once
// One frame of the scene, in the order the editor's paint handler draws it;
// the editor and the headless renderer both use it. The host's own steps
// (picking, selection outlines, gizmo, the 2-D overlay) come in through hooks.

#include <functional>
#include <string>

namespace ra7 {

struct FrameHooks {
    // After the roots' update: the audio listener follows the camera
    // (UpdateSceneListener when empty).
    std::function<void()> Listener;
    // After the view is set: the editor's picking pass.
    std::function<void()> Picking;
    // Restores the host's viewport and projection after the bloom pass
    // (ResetProjection when empty).
    std::function<void()> RestoreViewport;
    // With blending on, after axes and grid: selection outlines (and a model
    // being converted).
    std::function<void()> Selection;
    // After the blended pass: the gizmo.
    std::function<void()> Gizmo;
    // The 2-D overlay: entered and left around the other overlay hooks
    // (a plain orthographic mode when empty).
    std::function<void()> Enter2D;
    std::function<void()> Leave2D;
    // In 2-D mode, before the bloom image is added: lens flares.
    std::function<void()> OverlayBeforeBloom;
    // In 2-D mode, after the bloom image: text lines and the axis tripod.
    std::function<void()> OverlayAfterBloom;
};

struct FrameOptions {
    bool ShowAxes = true;
    bool ShowGrid = true;
    bool ShowBounds = false;
    std::string SelectedName; // highlighted by the bounds pass
};

// The OpenGL state the editor sets up once after the engine has started:
// depth test (less-or-equal), colour material, lighting, smooth lines and
// face culling, with the projection matrix selected.
void ApplyStartupGLState();

// The idle step's scene part: the listener hook, Update of every root of
// SceneObjects, then the active camera's view volume from the matrices
// current now (the last frame's view).
void UpdateScene(const FrameHooks& hooks);

// Draws one frame into the current framebuffer and checks for OpenGL and
// engine errors (which throw). Swapping is the host's.
void RenderFrame(const FrameOptions& options, const FrameHooks& hooks);

} // namespace ra7
