#include "effects/AudioListener.h"

#include "math/Ka7Transform.h"

#include <AL/al.h>

namespace ra7 {

void SetListener(const Vector3& position, const Vector3& velocity, const Matrix3& rotation)
{
    Vector3 at{0, 1, 0};
    Vector3 up{0, 0, 1};
    VectorTransform(at, rotation);
    VectorTransform(up, rotation);
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
