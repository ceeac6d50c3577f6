#include "effects/Ka7Sound.h"

#include "effects/AudioListener.h"
#include "effects/AudioSource.h"
#include "effects/Ka7Audio.h"
#include "effects/SourceSound.h"
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7Camera.h"

namespace ra7 {

namespace {

std::string cannotCreateSource(const std::string& name)
{
    return "Cannot create Source in sound <" + name + ">";
}

} // namespace

KaSound::KaSound()
{
    SetName("Sound");
    if (AudioIsOpen())
        Source = std::make_shared<AudioSource>(Name());
}

// Dropping the reference is the whole release: the AudioSource stops and
// deletes itself when the last sharing sound lets go of it.
KaSound::~KaSound() = default;

std::unique_ptr<KaSceneObj> KaSound::Create() const
{
    return std::make_unique<KaSound>();
}

AudioSource& KaSound::RequireSource()
{
    if (!Source) {
        if (!AudioIsOpen())
            throw Error(cannotCreateSource(Name()));
        Source = std::make_shared<AudioSource>(Name());
    }
    return *Source;
}

void KaSound::Update()
{
    KaSceneObj::Update();
    if (Trans && PrevTrans)
        Velocity = VectorSub(Trans->Position, PrevTrans->Position);
    if (!Source) {
        Playing = 0;
        return;
    }
    SourceFrame frame;
    frame.Gain = Gain;
    frame.Pitch = Pitch;
    frame.Position = Trans->Position;
    frame.Velocity = Velocity;
    frame.Looping = Looping != 0;
    const SourceStatus status = Source->Update(frame);
    Playing = status.Playing ? 1 : 0;
    if (status.Playing) {
        SecOffset = status.Offsets.Seconds;
        SampleOffset = status.Offsets.Samples;
        ByteOffset = status.Offsets.Bytes;
    }
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
    Source = sound.Source; // the source this object generated goes unless shared
    Gain = sound.Gain;
    Pitch = sound.Pitch;
    Looping = sound.Looping;
    Playing = sound.Playing;
}

void KaSound::SetSound(const std::string& fileName)
{
    AudioSource& source = RequireSource();
    const std::optional<KaSoundBuffer> record = AttachSoundFile(source, fileName);
    Playing = source.IsPlaying() ? 1 : 0;
    if (!record)
        return;
    SoundName = record->Name;
    BufferSize = record->Size;
}

void KaSound::Play()
{
    RequireSource().Play();
    Update(); // Playing := whether it really started (a source without a sound does not)
}

void KaSound::Stop()
{
    Playing = 0;
    if (Source)
        Source->Stop();
    SecOffset = 0;
    SampleOffset = 0;
    ByteOffset = 0;
}

void KaSound::Pause()
{
    RequireSource().Pause();
}

void UpdateSceneListener()
{
    if (!AudioIsOpen())
        return;
    const KaCamera* camera = ActiveCamera();
    if (!camera || !camera->Trans)
        return;
    UpdateListener(*camera->Trans, camera->PrevTrans ? *camera->PrevTrans : *camera->Trans);
}

} // namespace ra7
