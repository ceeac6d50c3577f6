#include "effects/AudioListener.h"

#include "math/Ka7Transform.h"

#include <AL/al.h>

namespace ra7 {

void SetListener(const Vector3& position, const Vector3& velocity, const Matrix3& rotation)
{
    // A camera's rotation takes the world into the eye (ApplyView), where the
    // view looks along −z with +y up; its inverse turns those two back into
    // the world. (An "at" of +y with +z up, turned the other way, swapped
    // left and right once the camera looked sideways.)
    const Matrix3 cameraToWorld = MatrixInverse3(rotation).value_or(kIdentityMatrix3);
    Vector3 at{0, 0, -1};
    Vector3 up{0, 1, 0};
    VectorTransform(at, cameraToWorld);
    VectorTransform(up, cameraToWorld);
    VectorNormalize(at);
    VectorNormalize(up);
    const ALfloat orientation[6] = {at.x, at.y, at.z, up.x, up.y, up.z};
    alListener3f(AL_POSITION, position.x, position.y, position.z);
    alListener3f(AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    alListenerfv(AL_ORIENTATION, orientation);
}

void UpdateListener(const KaTransformation& camera, const KaTransformation& previousCamera)
{
    SetListener(camera.Position, VectorSub(camera.Position, previousCamera.Position), camera.Rotation);
}

ListenerState GetListener()
{
    ListenerState state;
    alGetListener3f(AL_POSITION, &state.Position.x, &state.Position.y, &state.Position.z);
    alGetListener3f(AL_VELOCITY, &state.Velocity.x, &state.Velocity.y, &state.Velocity.z);
    alGetListenerfv(AL_ORIENTATION, state.Orientation.data());
    return state;
}

} // namespace ra7
