#include "effects/AudioSource.h"

#include "effects/Ka7Audio.h"
#include "runtime/Errors.h"

#include <AL/al.h>

#include <cmath>
#include <utility>

namespace ra7 {

namespace {

ALint sourceInt(ALuint source, ALenum parameter)
{
    ALint value = 0;
    alGetSourcei(source, parameter, &value);
    return value;
}

float sourceFloat(ALuint source, ALenum parameter)
{
    ALfloat value = 0;
    alGetSourcef(source, parameter, &value);
    return value;
}

Vector3 sourceVector(ALuint source, ALenum parameter)
{
    Vector3 value;
    alGetSource3f(source, parameter, &value.x, &value.y, &value.z);
    return value;
}

bool isFinite(const Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void deleteQuietly(ALuint& name)
{
    if (name == 0)
        return;
    alSourceStop(name);
    alDeleteSources(1, &name);
    alGetError();
    name = 0;
}

} // namespace

AudioSource::AudioSource(std::string_view ownerName)
{
    ClearAlError();
    ALuint name = 0;
    alGenSources(1, &name);
    if (alGetError() != AL_NO_ERROR)
        throw Error("Cannot create Source in sound <" + std::string(ownerName) + ">");
    name_ = name;
}

AudioSource::~AudioSource()
{
    deleteQuietly(name_);
}

AudioSource::AudioSource(AudioSource&& other) noexcept : name_(std::exchange(other.name_, 0))
{
}

AudioSource& AudioSource::operator=(AudioSource&& other) noexcept
{
    if (this != &other) {
        deleteQuietly(name_);
        name_ = std::exchange(other.name_, 0);
    }
    return *this;
}

void AudioSource::Delete(std::string_view ownerName)
{
    if (name_ == 0)
        return;
    ClearAlError();
    ALuint name = name_;
    alSourceStop(name);
    alDeleteSources(1, &name);
    if (alGetError() != AL_NO_ERROR)
        throw Error("Cannot delete Source in sound <" + std::string(ownerName) + ">");
    name_ = 0;
}

void AudioSource::AttachBuffer(std::uint32_t buffer)
{
    alSourcei(name_, AL_BUFFER, static_cast<ALint>(buffer));
}

std::uint32_t AudioSource::AttachedBuffer() const
{
    return static_cast<std::uint32_t>(sourceInt(name_, AL_BUFFER));
}

void AudioSource::Play()
{
    alSourcePlay(name_);
}

void AudioSource::Pause()
{
    alSourcePause(name_);
}

void AudioSource::Stop()
{
    alSourceStop(name_);
}

bool AudioSource::IsPlaying() const
{
    return sourceInt(name_, AL_SOURCE_STATE) == AL_PLAYING;
}

bool AudioSource::IsPaused() const
{
    return sourceInt(name_, AL_SOURCE_STATE) == AL_PAUSED;
}

void AudioSource::SetPosition(const Vector3& position)
{
    alSource3f(name_, AL_POSITION, position.x, position.y, position.z);
}

void AudioSource::SetVelocity(const Vector3& velocity)
{
    alSource3f(name_, AL_VELOCITY, velocity.x, velocity.y, velocity.z);
}

void AudioSource::SetLooping(bool looping)
{
    alSourcei(name_, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
}

void AudioSource::SetGain(float gain)
{
    alSourcef(name_, AL_GAIN, gain);
}

void AudioSource::SetPitch(float pitch)
{
    alSourcef(name_, AL_PITCH, pitch);
}

Vector3 AudioSource::Position() const
{
    return sourceVector(name_, AL_POSITION);
}

Vector3 AudioSource::Velocity() const
{
    return sourceVector(name_, AL_VELOCITY);
}

bool AudioSource::Looping() const
{
    return sourceInt(name_, AL_LOOPING) == AL_TRUE;
}

float AudioSource::Gain() const
{
    return sourceFloat(name_, AL_GAIN);
}

float AudioSource::Pitch() const
{
    return sourceFloat(name_, AL_PITCH);
}

SourceOffsets AudioSource::Offsets() const
{
    return {sourceInt(name_, AL_SEC_OFFSET), sourceInt(name_, AL_SAMPLE_OFFSET),
            sourceInt(name_, AL_BYTE_OFFSET)};
}

SourceStatus AudioSource::Update(const SourceFrame& frame)
{
    ClearAlError();
    SetGain(frame.Gain);
    SetPitch(frame.Pitch);
    SourceStatus status;
    status.Playing = IsPlaying();
    if (status.Playing)
        status.Offsets = Offsets();
    // The library refuses a position or velocity that is not finite (from a
    // damaged scene file or a runaway script), and the whole frame would fail
    // with it; the source keeps the last finite one instead.
    if (isFinite(frame.Position))
        SetPosition(frame.Position);
    if (isFinite(frame.Velocity))
        SetVelocity(frame.Velocity);
    SetLooping(frame.Looping);
    CheckAlError("Error AL");
    return status;
}

} // namespace ra7
