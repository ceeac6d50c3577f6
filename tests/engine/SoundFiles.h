#pragma once
// Sound files made by the tests: RIFF WAVE files chunk by chunk (so that
// damaged ones can be built as easily as good ones) and Ogg Vorbis files
// encoded with libvorbisenc.

#include "engine/LittleEndian.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ra7::test {

// One chunk: identifier, size, body and the pad byte an odd body needs.
// `declaredSize` replaces the size field when given (damaged files).
std::string wavChunk(std::string_view id, std::string_view body, std::int64_t declaredSize = -1);
// The body of a PCM "fmt " chunk.
std::string pcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                      std::uint16_t formatTag = 1);
// "RIFF", the size of what follows (or `declaredSize`), "WAVE", the chunks.
std::string riffWave(std::string_view chunks, std::int64_t declaredSize = -1);
// A plain PCM file: "fmt " then "data".
std::string pcmWav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::string_view samples);

// `frames` frames of a sine wave, interleaved, the same in every channel,
// amplitude `amplitude` of full scale.
std::vector<float> sineWave(int channels, int rate, double frequency, std::size_t frames,
                            float amplitude = 0.5f);
// Deterministic white noise, interleaved.
std::vector<float> noiseWave(int channels, std::size_t frames, float amplitude = 0.5f);
// 16-bit little-endian signed samples of the same.
std::string pcm16(const std::vector<float>& samples);

// Encodes interleaved samples (−1 … 1) as an Ogg Vorbis file (VBR, the
// given quality from −0.1 to 1).
std::string encodeOgg(int channels, int rate, const std::vector<float>& interleaved, float quality = 0.4f);

// From the Ogg pages themselves, without the decoder: the channels and rate
// of the Vorbis identification header and the granule position of the last
// page (the stream's length in samples per channel).
struct OggFacts {
    int channels = 0;
    std::uint32_t rate = 0;
    std::int64_t lastGranule = -1;
};
OggFacts readOggFacts(std::string_view bytes);

} // namespace ra7::test
