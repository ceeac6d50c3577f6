#pragma once
// Flying the editor's camera (the active camera) through the 3-D view: with
// Ctrl and the mouse (left turns, middle pans, both move forward and back),
// with the right button held (turning, W/A/S/D/Q/E flying), with the wheel,
// and F to look at the selection. None of this is an undo step.
//
// The camera's rotation is made from two angles in degrees, `CamYaw` about
// the world's y axis and `CamPitch` about the camera's x axis:
// RotationY(−yaw) × RotationX(−pitch). They are taken from the camera when
// flying starts, so a camera turned otherwise (a gizmo, a script) is flown
// from where it looks, and the rotation is written only when they change.

#include "math/DotMath.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {
class KaObjArray;
class KaSceneObj;
} // namespace ra7

namespace ra7::editor {

// Ctrl + mouse: pixels per unit of movement, degrees per pixel of turning.
inline constexpr float kFlyPixelsPerUnit = 15.0f;
inline constexpr float kTurnDegreesPerPixel = 0.5f;

struct FlightStep {
    Vector3 move;        // world displacement of the camera
    bool turned = false; // yaw or pitch changed
};

class CameraFlight {
public:
    float Pitch() const { return pitch_; }
    float Yaw() const { return yaw_; }
    // Pitch held to [−90, 90], yaw brought into [0, 360).
    void SetAngles(float pitch, float yaw);
    // The angles of the way `rotation` (a camera's) looks; roll is dropped.
    // A rotation that looks nowhere (all zero) leaves them as they are.
    void TakeFrom(const Matrix3& rotation);

    // A mouse move by (dx, dy) pixels (cursor − last cursor) with Ctrl:
    // left and middle held move along the view, middle alone pans, left
    // alone turns.
    FlightStep CtrlMove(float dx, float dy, bool left, bool middle);
    // Turning with the right button: as Ctrl with the left button.
    bool Look(float dx, float dy);

    // RotationY(−yaw) × RotationX(−pitch).
    Matrix3 Rotation() const;
    // A direction of the camera's own frame in the world: turned about x by
    // the pitch, then about y by the yaw.
    Vector3 ToWorld(const Vector3& eye) const;

private:
    float pitch_ = 0;
    float yaw_ = 0;
};

// A direction of the frame of a camera turned by `rotation` (world to eye)
// in the world, of unit length (or zero).
Vector3 EyeToWorld(const Vector3& eye, const Matrix3& rotation);

// The keys held while the right button is down.
struct FlyKeys {
    bool forward = false; // W
    bool back = false;    // S
    bool left = false;    // A
    bool right = false;   // D
    bool down = false;    // Q
    bool up = false;      // E
    bool fast = false;    // Shift
    bool Any() const { return forward || back || left || right || down || up; }
};
// Units per second of key flying (Shift four times as fast).
inline constexpr float kKeyFlightSpeed = 10.0f;
// The world displacement for `ms` milliseconds of the held keys: W/S along
// the view, A/D sideways, Q/E down and up the world's y axis.
Vector3 KeyFlight(const FlyKeys& keys, const Matrix3& cameraRotation, float ms);

// Units per notch of the wheel (Shift five times as far).
inline constexpr float kWheelStep = 1.0f;
// The displacement along the view for a wheel turn of `angleDelta` eighths
// of a degree (120 a notch; positive: away from the user, forward).
Vector3 WheelMove(int angleDelta, bool fast, const Matrix3& cameraRotation);

// Moves the camera by a world displacement; a camera with a parent keeps
// the offset that puts it there.
void MoveCamera(const KaObjArray& scene, KaSceneObj& camera, const Vector3& delta);

struct BoundingSphere {
    Vector3 centre;
    float radius = 0;
};
// A sphere around the named objects (geometries by their meshes' boxes,
// other kinds by a sphere of radius 1). Objects that are missing, static
// (they stand around the camera) or named `skip` (the camera itself) do not
// count; nothing when none is left.
std::optional<BoundingSphere> SelectionSphere(const KaObjArray& scene, const std::vector<std::string>& names,
                                              std::string_view skip);
// Where a camera turned by `rotation` stands to see the whole sphere with
// the vertical field of view `fovY` (degrees) and the view's aspect.
Vector3 FramingPosition(const BoundingSphere& sphere, const Matrix3& rotation, float fovY, float aspect);

} // namespace ra7::editor
