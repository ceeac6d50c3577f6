#include "effects/Ka7Sound.h"

#include "runtime/RecordFile.h"

namespace ra7 {

KaSound::KaSound()
{
    SetName("Sound");
}

std::unique_ptr<KaSceneObj> KaSound::Create() const
{
    return std::make_unique<KaSound>();
}

void KaSound::Update()
{
    KaSceneObj::Update();
    if (Trans && PrevTrans)
        Velocity = VectorSub(Trans->Position, PrevTrans->Position);
}

void KaSound::SaveToFile(RecordWriter& file, const KgfNameTable& names) const
{
    file.writeTag("sou");
    SaveBase(file, names);
}

void KaSound::Assign(const KaSceneObj& source)
{
    CheckSameKind(source);
    const auto& sound = static_cast<const KaSound&>(source);
    KaSceneObj::Assign(source);
    Velocity = sound.Velocity;
    SoundName = sound.SoundName;
    SecOffset = sound.SecOffset;
    SampleOffset = sound.SampleOffset;
    ByteOffset = sound.ByteOffset;
    BufferSize = sound.BufferSize;
    Source = sound.Source;
    Gain = sound.Gain;
    Pitch = sound.Pitch;
    Looping = sound.Looping;
    Playing = sound.Playing;
}

} // namespace ra7
