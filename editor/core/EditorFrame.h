#pragma once
// One pass of the editor's main loop without widgets: the scene update, the
// animation scripts and the frame clock (UpdateScene), and the frame itself
// (paintFrame). The window calls UpdateScene from its idle timer and
// paintFrame from its paint handler, with the context current.

#include "core/ViewLayout.h"

#include <array>
#include <functional>
#include <string>

namespace ra7 {
class KaEngine2D;
} // namespace ra7

namespace ra7::editor {

class FrameClock;

struct FrameInputs {
    Viewport view;
    std::int32_t clientWidth = 0;
    std::int32_t clientHeight = 0;
    bool showGrid = true;
    bool showBounds = false;  // the Bounds page's "Показывать"
    std::string selectedName; // its bounding shapes are drawn bright
    std::string fpsText;
    const KaEngine2D* text2D = nullptr;     // the overlay; none before the engine started
    std::array<float, 3> pickedColour = {}; // under the mouse, when no picking pass runs
    // The editor's parts of the frame: the picking pass (it returns the
    // colour under the mouse), the selection outlines and the gizmo.
    std::function<std::array<float, 3>()> picking;
    std::function<void()> outlines;
    std::function<void()> gizmo;
    // A model held for conversion, drawn with lighting after the outlines
    // (none: nothing).
    std::function<void()> modelPreview;
};

// The listener follows the active camera, every root updates its subtree,
// the scripts advance by the last frame's time.
void UpdateScene();
// The clock takes its snapshot and FrameTime follows it.
void AdvanceClock(FrameClock& clock);

// One frame: the view of the active camera, the grey background, the world
// axes and the grid, then the once-per-frame error checks. The scene's
// passes join here when the renderer draws them.
void paintFrame(const FrameInputs& frame);

// The grey background alone, while the engine is not running.
void ClearView();

// Sets the alpha of the whole view to 1: smoothed lines and blended
// drawing leave partial alpha behind, which a window that composes the
// view's image (and its screenshots) would show as translucency.
void MakeViewOpaque();

} // namespace ra7::editor
