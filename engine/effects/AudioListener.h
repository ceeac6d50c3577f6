#pragma once
// The listener: where the engine hears the scene from. It follows the
// active camera once per frame.

#include "math/DotMath.h"

#include <array>

namespace ra7 {

class KaTransformation;

// Position, velocity and orientation. `rotation` is a camera's (world to
// eye, as ApplyView uses it): "at" is the eye's (0, 0, −1) and "up" its
// (0, 1, 0), both turned into the world by the inverse rotation, so a sound
// to the camera's right is heard on the right whichever way it looks.
void SetListener(const Vector3& position, const Vector3& velocity, const Matrix3& rotation);

// The listener at the camera: velocity is the camera's movement since the
// previous frame (camera position − previous camera position), not per
// second.
void UpdateListener(const KaTransformation& camera, const KaTransformation& previousCamera);

// What the audio library holds now, for checks.
struct ListenerState {
    Vector3 Position;
    Vector3 Velocity;
    std::array<float, 6> Orientation{}; // at, then up
};
ListenerState GetListener();

} // namespace ra7
