#pragma once
// The gizmo's state: the mode (arrows or rings), whether rings turn about
// the world axes, and the drag in progress. A drag keeps the description of
// its target and the numbers it started from, never a pointer: every move
// looks the target up again (a script may delete or rebuild it meanwhile).

#include "core/EditorSelection.h"
#include "core/GizmoMath.h"
#include "math/Ka7Transform.h"

#include <cstdint>
#include <optional>

namespace ra7 {
class KaObjArray;
}

namespace ra7::editor {

enum class GizmoMode : std::uint8_t { Move = 0, Rotate = 1 };

// A cursor position in pixels of the 3-D view (origin top left, y down).
struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// How the edited transformation reaches the world: a world offset is a
// local offset times `position`, a world rotation a local rotation times
// `rotation`. The identity for a root; the parent's rotation for a child,
// whose own rotation its parent replaces (so it cannot be turned); the
// owner's placement for a bounding shape.
struct EditFrame {
    Matrix3 position = kIdentityMatrix3;
    Matrix3 rotation = kIdentityMatrix3;
    bool turnable = true;
};

// A gizmo target looked up for one press or move.
struct DragView {
    Vector3 camera;           // the active camera's position
    GizmoPlacement placement; // origin: where the target stands in the world
    Matrix3 worldRotation = kIdentityMatrix3;
    EditFrame frame;
    KaTransformation edit; // the edited transformation as it is now
};

// Nothing without an active camera, or when the target is gone. A static
// object stands around the camera, so its gizmo does too. A bounding
// shape's world placement is brought up to date from its owner first.
std::optional<DragView> LookUpDragView(const KaObjArray& scene, const GizmoTarget& target);

class GizmoState {
public:
    GizmoMode Mode() const { return mode_; }
    void SetMode(GizmoMode mode) { mode_ = mode; }
    bool GlobalAxes() const { return globalAxes_; }
    void SetGlobalAxes(bool on) { globalAxes_ = on; }

    bool Dragging() const { return dragging_; }
    const GizmoTarget& DragTarget() const { return target_; }
    // The mode and axes latched at the press.
    GizmoMode DragMode() const { return dragMode_; }
    GrabbedAxes DragAxes() const { return axes_; }
    // Where the edited position stood at the press (`DragStartPos`).
    const Vector3& DragStartPos() const { return startPos_; }

    // Starts dragging `target` by the axes grabbed at `at`. False, with no
    // drag, when no axis is grabbed, when the gizmo is not shown, or for a
    // turn of something that cannot turn.
    bool BeginDrag(const GizmoTarget& target, GrabbedAxes axes, ScreenPoint at, const DragView& view);
    // The edited transformation for the cursor at `at`. A move goes the
    // whole way from the press, so coming back to the press point gives the
    // start position exactly; a turn adds the step since the last move.
    KaTransformation DragTo(ScreenPoint at, const DragView& view);
    void EndDrag() { dragging_ = false; }

private:
    GizmoMode mode_ = GizmoMode::Move;
    bool globalAxes_ = false;

    bool dragging_ = false;
    GizmoTarget target_;
    GizmoMode dragMode_ = GizmoMode::Move;
    bool dragGlobalAxes_ = false;
    GrabbedAxes axes_;
    ScreenPoint anchor_;
    ScreenPoint last_;
    Vector3 startPos_;
    Vector3 startRowLengths_{1, 1, 1};
};

} // namespace ra7::editor
