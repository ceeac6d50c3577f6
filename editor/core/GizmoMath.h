#pragma once
// The arithmetic of the gizmo, without the scene or OpenGL: which axis a
// picked colour grabs, how far a drag moves or turns, where the gizmo stands
// in front of the camera, and the rotation about an arbitrary axis.
//
// Screen deltas are "anchor minus cursor" in pixels with y growing
// downward, so a mouse moved up or to the left gives positive values.

#include "math/DotMath.h"

#include <array>
#include <cstdint>
#include <optional>

namespace ra7::editor {

enum class GizmoAxis : std::uint8_t { X, Y, Z };

// The axes whose pick colour shows under the cursor (a component above 0.1);
// an edge where two colours mix grabs both.
struct GrabbedAxes {
    bool x = false;
    bool y = false;
    bool z = false;
    bool Any() const { return x || y || z; }
    bool operator==(const GrabbedAxes&) const = default;
};
GrabbedAxes AxesUnder(const std::array<float, 3>& pickedColour);
// The one axis a drag uses: Y before Z before X.
std::optional<GizmoAxis> DraggedAxis(GrabbedAxes axes);

// Pixels (anchor − cursor); positive when the mouse went left or up.
struct ScreenDelta {
    float x = 0;
    float y = 0;
};

// Which way a horizontal mouse movement runs along z and x, from the side
// the camera stands on: sZ is −1 when the camera's x is at most the
// gizmo's, sX is +1 when the camera's z is at most the gizmo's.
struct DragSigns {
    float z = 1;
    float x = 1;
};
DragSigns SideSigns(const Vector3& camera, const Vector3& gizmo);

// World units per pixel of a move, and radians per pixel of a turn about
// the world axes: the distance from the camera over 550, so that the speed
// on screen does not depend on the distance. A turn about the object's own
// axes uses the distance over 250.
inline constexpr float kMovePixels = 550.0f;
inline constexpr float kOwnAxisTurnPixels = 250.0f;

// The world displacement of a move along `axis` for the whole way `delta`
// since the press: y follows the vertical movement, z and x the horizontal
// one with their side signs.
Vector3 MoveOffset(GizmoAxis axis, float distance, ScreenDelta delta, DragSigns signs);

// The rotation matrix about the unit axis w by `angle` radians (row
// vectors); for the coordinate axes it equals RotationX, RotationY and
// RotationZ.
Matrix3 RotationAboutAxis(const Vector3& w, float angle);

// One step of a turn for the movement `delta` since the last move: about
// the world axis, or (globalAxes false) about the object's own axis, which
// is row `axis` of `worldRotation` made unit length (a rotation a script
// scaled is not unit).
Matrix3 TurnStep(GizmoAxis axis, bool globalAxes, float distance, ScreenDelta delta, DragSigns signs,
                 const Matrix3& worldRotation);

// `m` with its rows made perpendicular again, each keeping its length (a
// script's "scale" scales the rows). Undoes the drift and skew that many
// small turns in single precision leave behind. A matrix with a row of
// length 0 comes back unchanged.
Matrix3 OrthogonalizeRows(const Matrix3& m);
// The same with the rows brought to the given lengths: a turn never changes
// them, so a drag keeps those it started with and no drift builds up.
Matrix3 OrthogonalizeRows(const Matrix3& m, const Vector3& lengths);
// The lengths of the rows: how far a script's "scale" stretched each own axis.
Vector3 RowLengths(const Matrix3& m);
// The same with every row of unit length: the pure turn of `m`.
Matrix3 PureRotation(const Matrix3& m);

// Where the gizmo stands: always kGizmoDistance units from the camera on
// the line towards the target, so that it has the same size on screen and
// stands in front of the scene. The drawing is made at `origin` and
// translated by `shift`. A target closer to the camera than the near plane
// (the active camera itself) has no direction and shows no gizmo.
inline constexpr float kGizmoDistance = 14.0f;
struct GizmoPlacement {
    bool visible = false;
    Vector3 origin;     // the target's position P
    Vector3 shift;      // C − 14·D − P
    float distance = 0; // from the camera to P
};
GizmoPlacement PlaceGizmo(const Vector3& target, const Vector3& camera, float nearPlane);

} // namespace ra7::editor
