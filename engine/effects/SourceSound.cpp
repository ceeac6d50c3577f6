#include "effects/SourceSound.h"

#include "effects/AudioSource.h"
#include "effects/Ka7Audio.h"

#include <cassert>

namespace ra7 {

std::optional<KaSoundBuffer> AttachSoundFile(AudioSource& source, const std::string& fileName)
{
    assert(SoundBuffers && "the sound buffer list lives from EngineInit to EngineDone");
    if (source.IsPlaying() || source.IsPaused())
        source.Stop();
    const std::int32_t index = SoundBuffers->Add(fileName);
    if (index < 0)
        return std::nullopt;
    KaSoundBuffer record = SoundBuffers->Get(index);
    ClearAlError();
    source.AttachBuffer(record.Buffer);
    CheckAlError("Error AL");
    return record;
}

} // namespace ra7
