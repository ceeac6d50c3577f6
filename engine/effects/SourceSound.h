#pragma once
// Giving a source its sound: what `SetSound` of a sound source does with the
// engine's buffer list.

#include "effects/Ka7SoundBuffersList.h"

#include <optional>
#include <string>

namespace ra7 {

class AudioSource;

// Stops the source unless it is already stopped (a paused source counts as
// playing: the audio library refuses a new buffer on it), adds the file to
// `SoundBuffers` and attaches the record's buffer. Returns the record, or
// nothing for an empty name (the source then keeps its sound). The errors of
// `Add` pass on; a buffer the library refuses to attach raises "Error AL".
std::optional<KaSoundBuffer> AttachSoundFile(AudioSource& source, const std::string& fileName);

} // namespace ra7
