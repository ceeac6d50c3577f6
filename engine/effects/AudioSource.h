#pragma once
// One OpenAL source, owned: generated at construction, deleted with the
// object. A sound source of the scene plays through one; the source's
// placement, looping, gain and pitch are handed over once per frame.

#include "math/DotMath.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ra7 {

// The playing position, read while the source plays.
struct SourceOffsets {
    std::int32_t Seconds = 0; // AL_SEC_OFFSET
    std::int32_t Samples = 0; // AL_SAMPLE_OFFSET
    std::int32_t Bytes = 0;   // AL_BYTE_OFFSET
    friend bool operator==(const SourceOffsets&, const SourceOffsets&) = default;
};

// What a sound source hands to its audio source every frame.
struct SourceFrame {
    float Gain = 1.0f;
    float Pitch = 1.0f;
    Vector3 Position = kZeroVector;
    Vector3 Velocity = kZeroVector;
    bool Looping = false;
};

// What the frame reads back.
struct SourceStatus {
    bool Playing = false;
    SourceOffsets Offsets; // zero unless playing
};

class AudioSource {
public:
    // Generates the source; "Cannot create Source in sound <ownerName>" when
    // the audio library refuses (no device, too many sources).
    explicit AudioSource(std::string_view ownerName);
    // Deletes the source (stopping it); errors are not reported here: call
    // Delete first where they must be.
    ~AudioSource();
    AudioSource(AudioSource&& other) noexcept;
    AudioSource& operator=(AudioSource&& other) noexcept;
    AudioSource(const AudioSource&) = delete;
    AudioSource& operator=(const AudioSource&) = delete;

    // The OpenAL source name (`Source` of the sound source); 0 once deleted.
    std::uint32_t Name() const { return name_; }

    // Deletes the source now; "Cannot delete Source in sound <ownerName>"
    // when the audio library refuses.
    void Delete(std::string_view ownerName);

    // Attaches a buffer (AL_BUFFER); 0 detaches. The source must be stopped.
    void AttachBuffer(std::uint32_t buffer);
    std::uint32_t AttachedBuffer() const;

    void Play();
    void Pause();
    void Stop();
    bool IsPlaying() const;
    bool IsPaused() const;

    void SetPosition(const Vector3& position);
    void SetVelocity(const Vector3& velocity);
    void SetLooping(bool looping);
    void SetGain(float gain);
    void SetPitch(float pitch);
    Vector3 Position() const;
    Vector3 Velocity() const;
    bool Looping() const;
    float Gain() const;
    float Pitch() const;

    // AL_SEC_OFFSET, AL_SAMPLE_OFFSET and AL_BYTE_OFFSET as the library
    // reports them now.
    SourceOffsets Offsets() const;

    // The per-frame hand-over: gain and pitch, then the state and, while
    // playing, the offsets, then position, velocity and looping. Raises
    // "Error AL" when the audio library reports an error on the way.
    SourceStatus Update(const SourceFrame& frame);

private:
    std::uint32_t name_ = 0;
};

} // namespace ra7
