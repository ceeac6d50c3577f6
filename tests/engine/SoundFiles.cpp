#include "engine/SoundFiles.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <stdexcept>

namespace ra7::test {

std::string wavChunk(std::string_view id, std::string_view body, std::int64_t declaredSize)
{
    const auto size = declaredSize >= 0 ? static_cast<std::uint32_t>(declaredSize)
                                        : static_cast<std::uint32_t>(body.size());
    std::string chunk = std::string(id) + le32(size) + std::string(body);
    if (body.size() % 2 == 1)
        chunk += '\0';
    return chunk;
}

std::string pcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::uint16_t formatTag)
{
    const auto blockAlign = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
    return le16(formatTag) + le16(channels) + le32(rate) + le32(rate * blockAlign) + le16(blockAlign) +
           le16(bits);
}

std::string riffWave(std::string_view chunks, std::int64_t declaredSize)
{
    const auto size = declaredSize >= 0 ? static_cast<std::uint32_t>(declaredSize)
                                        : static_cast<std::uint32_t>(chunks.size() + 4);
    return "RIFF" + le32(size) + "WAVE" + std::string(chunks);
}

std::string pcmWav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::string_view samples)
{
    return riffWave(wavChunk("fmt ", pcmFormat(channels, rate, bits)) + wavChunk("data", samples));
}

std::vector<float> sineWave(int channels, int rate, double frequency, std::size_t frames, float amplitude)
{
    std::vector<float> samples;
    samples.reserve(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames; ++i) {
        const double phase = 2 * std::numbers::pi * frequency * static_cast<double>(i) / rate;
        for (int c = 0; c < channels; ++c)
            samples.push_back(amplitude * static_cast<float>(std::sin(phase)));
    }
    return samples;
}

std::vector<float> noiseWave(int channels, std::size_t frames, float amplitude)
{
    std::vector<float> samples(frames * static_cast<std::size_t>(channels));
    std::uint32_t state = 12345;
    for (float& sample : samples) {
        state = state * 1664525u + 1013904223u;
        sample = amplitude * (static_cast<float>(state >> 8) / static_cast<float>(1u << 23) - 1.0f);
    }
    return samples;
}

std::string pcm16(const std::vector<float>& samples)
{
    std::string bytes;
    bytes.reserve(samples.size() * 2);
    for (float s : samples) {
        const auto value = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
        bytes += le16(static_cast<std::uint16_t>(value));
    }
    return bytes;
}

namespace {

void appendPage(std::string& out, const ogg_page& page)
{
    out.append(reinterpret_cast<const char*>(page.header), static_cast<std::size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
}

// Moves every finished packet into pages and the pages into `out`.
void drainEncoder(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, std::string& out)
{
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page))
                appendPage(out, page);
        }
    }
}

} // namespace

std::string encodeOgg(int channels, int rate, const std::vector<float>& interleaved, float quality)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("vorbisenc refuses the settings");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x5261); // any serial number

    std::string out;
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page))
        appendPage(out, page);

    const std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels);
    constexpr std::size_t kStep = 4096;
    for (std::size_t first = 0; first < frames; first += kStep) {
        const std::size_t count = std::min(kStep, frames - first);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        for (std::size_t i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c)
                buffer[c][i] = interleaved[(first + i) * static_cast<std::size_t>(channels) +
                                           static_cast<std::size_t>(c)];
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        drainEncoder(dsp, block, stream, out);
    }
    vorbis_analysis_wrote(&dsp, 0);
    drainEncoder(dsp, block, stream, out);
    while (ogg_stream_flush(&stream, &page))
        appendPage(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

OggFacts readOggFacts(std::string_view bytes)
{
    OggFacts facts;
    std::size_t offset = 0;
    auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    while (offset + 27 <= bytes.size() && bytes.substr(offset, 4) == "OggS") {
        std::int64_t granule = 0;
        for (int i = 7; i >= 0; --i)
            granule = granule << 8 | byteAt(offset + 6 + static_cast<std::size_t>(i));
        const std::size_t segments = byteAt(offset + 26);
        std::size_t bodySize = 0;
        for (std::size_t i = 0; i < segments; ++i)
            bodySize += byteAt(offset + 27 + i);
        const std::size_t body = offset + 27 + segments;
        if (body + bodySize > bytes.size())
            break;
        if (facts.channels == 0 && bodySize >= 16 && bytes.substr(body, 7) == "\x01vorbis") {
            facts.channels = byteAt(body + 11);
            facts.rate = static_cast<std::uint32_t>(byteAt(body + 12) | byteAt(body + 13) << 8 |
                                                    byteAt(body + 14) << 16) |
                         static_cast<std::uint32_t>(byteAt(body + 15)) << 24;
        }
        if (granule != -1)
            facts.lastGranule = granule;
        offset = body + bodySize;
    }
    return facts;
}

} // namespace ra7::test
