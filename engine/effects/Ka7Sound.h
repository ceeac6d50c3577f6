#pragma once
// KaSound: a sound source placed in the scene. It plays one sound file
// through an OpenAL source that follows the object's world position and
// movement every frame. Nothing of the sound goes into the scene file beyond
// the common part: sound files are attached again after loading.
//
// The audio source is shared: `Assign` hands it to the copy, so both objects
// play through the same source, and the last object that holds it stops and
// deletes it. Releasing one of several sharing objects (the array's
// DeleteByName, the editor's temporary template) leaves the others playing.

#include "scene/Ka7SceneObjUnit.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ra7 {

class AudioSource;

class KaSound : public KaSceneObj {
public:
    // "Sound", gain and pitch 1. With the audio device open it generates its
    // source ("Cannot create Source in sound <Sound>" when the audio library
    // refuses); without a device it has none and can still be loaded, saved
    // and moved.
    KaSound();
    // The sound kind's release: the source stops and is deleted unless
    // another sound still shares it.
    ~KaSound() override;

    KaObjKind Kind() const override { return KaObjKind::Sound; }
    std::unique_ptr<KaSceneObj> Create() const override;
    // Propagation; Velocity := the world position's movement since the
    // previous frame; then gain, pitch, position, velocity and looping go to
    // the source and Playing and, while playing, the offsets come back.
    // "Error AL" when the audio library reports an error on the way.
    void Update() override;
    // The editor's marker: a point and a small cross; leaves blending on.
    void Render() override;
    void SaveToFile(RecordWriter& file, const KgfNameTable& names) const override;
    // Copies everything, the audio source included: both then share it.
    void Assign(const KaSceneObj& source) override;

    // Stops the source when it plays, adds the file to `SoundBuffers` and
    // attaches its buffer; SoundName and BufferSize follow. An empty name
    // changes nothing; the errors of loading pass on and keep the old sound.
    void SetSound(const std::string& fileName);
    // Starts the source and runs Update, which sets Playing.
    void Play();
    // Playing := 0, the source stops, the three offsets become 0. Without a
    // source nothing plays, so this cannot fail.
    void Stop();
    // Pauses the source; Playing follows at the next Update.
    void Pause();

    Vector3 Velocity;
    // The audio source; null without an audio device.
    std::shared_ptr<AudioSource> Source;
    float Gain = 1.0f;
    float Pitch = 1.0f;
    std::int32_t Looping = 0;
    std::uint8_t Playing = 0;
    std::int32_t SecOffset = 0;
    std::int32_t SampleOffset = 0;
    std::int32_t ByteOffset = 0;
    std::int32_t BufferSize = 0;
    std::string SoundName;

private:
    // The source, generated now if the device opened after construction;
    // "Cannot create Source in sound <Name>" when there is no device or the
    // audio library refuses.
    AudioSource& RequireSource();
};

// The listener at the active camera: position, movement since the previous
// frame (Trans − PrevTrans) and orientation. Nothing happens without an
// active camera or an audio device. Called once per frame by the scene
// update after the roots' Update, so that a root camera's PrevTrans holds
// its placement of the previous frame (as it does for every sound).
void UpdateSceneListener();

} // namespace ra7
