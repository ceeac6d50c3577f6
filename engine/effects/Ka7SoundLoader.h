#pragma once
// Reading sound files into memory: uncompressed RIFF WAVE and Ogg Vorbis.
// Both loaders give the OpenAL format, the sample data (owned by the
// caller), the frequency and a loop flag. Damaged files raise a FileError
// that names the file and the offset; nothing is read outside the file and
// nothing is allocated beyond what the file can hold.

#include <AL/al.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

struct SoundData {
    ALenum Format = AL_FORMAT_MONO16;
    std::vector<std::uint8_t> Data;
    std::int32_t Frequency = 22050;
    bool Loop = false; // a "smpl" chunk with loops; nothing uses it yet
    // What was wrong with the file behind the sound that was kept (an Ogg
    // stream damaged part of the way through); empty for a whole file.
    std::string Damage;

    std::int32_t Size() const { return static_cast<std::int32_t>(Data.size()); }
};

// Loads a WAV file named as stored (through the path resolver). An empty
// name gives mono 16-bit at 22050 Hz without data.
SoundData LoadWav(std::string_view fileName);
// The same over bytes in memory; `fileName` names them in errors.
SoundData ParseWav(std::string_view fileName, std::string_view bytes);

// Loads an Ogg Vorbis file named as stored: 16-bit little-endian signed
// samples, mono or stereo. A stream the decoder cannot open raises
// "Could not open Ogg stream. [<reason>]". A stream damaged part of the way
// (a later link whose headers are bad, a page the decoder cannot take) plays
// up to the damage, which is a "! " line in the log.
SoundData LoadOgg(std::string_view fileName);
// The same over bytes in memory; the damage goes to `Damage`, not the log.
SoundData DecodeOgg(std::string_view fileName, std::string bytes);

// The reason text of a vorbisfile error code, as the open error quotes it.
std::string OggErrorText(int code);

} // namespace ra7
