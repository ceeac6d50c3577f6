#pragma once
// What the mouse and the keys do in the 3-D view, without widgets: a click
// selects the object under the cursor (nothing: the selection is cleared),
// a press on the gizmo drags it (one undoable step per drag, Escape puts
// everything back), Ctrl with the mouse or the right button with
// W/A/S/D/Q/E flies the camera, the wheel moves it along the view, F shows
// the selection. It also draws the editor's parts of each frame: the
// picking pass, the selection outlines and the gizmo.
//
// Positions are the widget's logical pixels from its top left corner;
// picking turns them into framebuffer pixels itself.

#include "core/CameraFlight.h"
#include "core/GizmoDrawing.h"
#include "core/GizmoState.h"
#include "core/PickBuffer.h"
#include "core/ViewLayout.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace ra7::editor {

class EditorDocument;

enum class MouseButton : std::uint8_t { Left, Middle, Right };

struct PointerState {
    double x = 0;
    double y = 0;
    bool left = false;
    bool middle = false;
    bool right = false;
    bool ctrl = false;
    bool shift = false;
};

enum class ViewKey : std::uint8_t { Escape, W, A, S, D, Q, E, F, Shift, Other };

// The view's size as picking needs it.
struct ViewGeometry {
    Viewport view;
    std::int32_t framebufferHeight = 0;
    double devicePixelRatio = 1;
};

class ViewInput {
public:
    struct Services {
        // Makes the view's context current (for picks outside the frame).
        std::function<void()> makeCurrent;
        std::function<ViewGeometry()> geometry;
        // A refusal for the status bar and the console.
        std::function<void(const std::string&)> report;
    };

    ViewInput(EditorDocument& document, GizmoArrows arrows, Services services);
    ViewInput(const ViewInput&) = delete;
    ViewInput& operator=(const ViewInput&) = delete;

    // Lets go of the picking buffer; needs the context current.
    void ReleaseGL() { pick_.Release(); }

    GizmoState& Gizmo() { return gizmo_; }
    const GizmoState& Gizmo() const { return gizmo_; }
    const CameraFlight& Flight() const { return flight_; }
    bool Dragging() const { return gizmo_.Dragging(); }
    // The colour under the cursor that the last frame's picking pass read.
    const std::array<float, 3>& PickedColour() const { return picked_; }

    // --- events ---------------------------------------------------------------
    void Press(MouseButton button, const PointerState& pointer);
    void Move(const PointerState& pointer);
    void Release(MouseButton button, const PointerState& pointer);
    // True when the key was taken by the view.
    bool Key(ViewKey key, bool down);
    void Wheel(int angleDelta, bool shift);
    // The cursor left the view: nothing is under it any more.
    void Leave();
    // The view lost the focus or the mouse: a drag ends where it is.
    void FocusLost();
    // Once per pass of the main loop: key flying for `ms` milliseconds.
    void Advance(float ms);
    // F: the camera moves back along its view until the selection fits.
    void FrameSelection();

    // --- the frame (context current, view matrix loaded) ------------------------
    // The gizmo in pick colours under the cursor: the colour read there.
    std::array<float, 3> PickingPass();
    void DrawOutlines();
    void DrawGizmo();

    // --- looking under a point (makes the context current) -----------------------
    std::array<float, 3> GizmoColourAt(double x, double y);
    // The name of the object drawn at the point, or empty.
    std::string ObjectAt(double x, double y);

private:
    ScreenPoint screenPoint(const PointerState& pointer) const;
    std::array<float, 3> gizmoColour(double x, double y);
    std::optional<FramebufferPixel> pixelAt(double x, double y, Viewport& view) const;
    void beginDrag(const PointerState& pointer);
    void dragTo(const PointerState& pointer);
    void endDrag(bool keep);
    void flyWithCtrl(const PointerState& pointer, float dx, float dy);
    void look(float dx, float dy);
    void clickAt(const PointerState& pointer);
    void startFlying();

    EditorDocument& document_;
    GizmoArrows arrows_;
    Services services_;
    GizmoState gizmo_;
    CameraFlight flight_;
    PickBuffer pick_;

    std::optional<PointerState> hover_;
    std::array<float, 3> picked_{};
    ScreenPoint lastMouse_;
    ScreenPoint pressAt_;
    bool clickPending_ = false;
    bool ctrlFlying_ = false;
    bool rightLooking_ = false;
    FlyKeys keys_;
};

} // namespace ra7::editor
