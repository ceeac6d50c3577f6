#pragma once
// KaSound: a sound source placed in the scene. This part holds its fields,
// its record (the tag and the common part only), Assign, and the per-frame
// position and velocity; playing through the audio library builds on it.

#include "scene/Ka7SceneObjUnit.h"

#include <cstdint>
#include <string>

namespace ra7 {

class KaSound : public KaSceneObj {
public:
    // "Sound", gain and pitch 1.
    KaSound();

    KaObjKind Kind() const override { return KaObjKind::Sound; }
    std::unique_ptr<KaSceneObj> Create() const override;
    // Propagation, then Velocity := the world position's movement since the
    // previous frame.
    void Update() override;
    // The editor's marker: a point and a small cross; leaves blending on.
    void Render() override;
    void SaveToFile(RecordWriter& file, const KgfNameTable& names) const override;
    // Copies everything, the audio source included: both then refer to it.
    void Assign(const KaSceneObj& source) override;

    Vector3 Velocity;
    std::uint32_t Source = 0; // the audio library's source name; 0 = none yet
    float Gain = 1.0f;
    float Pitch = 1.0f;
    std::int32_t Looping = 0;
    std::uint8_t Playing = 0;
    std::int32_t SecOffset = 0;
    std::int32_t SampleOffset = 0;
    std::int32_t ByteOffset = 0;
    std::int32_t BufferSize = 0;
    std::string SoundName;
};

} // namespace ra7
