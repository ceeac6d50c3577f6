#pragma once
// The listener: where the engine hears the scene from. It follows the
// active camera once per frame.

#include "math/DotMath.h"

#include <array>

namespace ra7 {

class KaTransformation;

// Position, velocity and orientation: "at" is (0, 1, 0) and "up" is
// (0, 0, 1), both turned by the rotation (v·M).
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
