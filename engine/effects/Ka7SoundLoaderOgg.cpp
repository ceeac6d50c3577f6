// The Ogg Vorbis reader: vorbisfile decodes from the file's bytes in memory
// through its callback interface, so every file goes through the path
// resolver like the rest of the engine's files.
#include "effects/Ka7SoundLoader.h"

#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7Log.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace ra7 {

namespace {

// The stream the decoder reads. vorbisfile's close callback deletes it, so
// it is closed exactly once: by the decoder after a successful open, by the
// owner's unique_ptr when the open fails (vorbisfile then leaves it alone).
struct OggMemoryStream {
    std::string bytes;
    std::size_t position = 0;
};

std::size_t readStream(void* target, std::size_t size, std::size_t count, void* source)
{
    auto* stream = static_cast<OggMemoryStream*>(source);
    if (size == 0)
        return 0;
    const std::size_t items = std::min(count, (stream->bytes.size() - stream->position) / size);
    std::memcpy(target, stream->bytes.data() + stream->position, items * size);
    stream->position += items * size;
    return items;
}

int seekStream(void* source, ogg_int64_t offset, int whence)
{
    auto* stream = static_cast<OggMemoryStream*>(source);
    const auto size = static_cast<ogg_int64_t>(stream->bytes.size());
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<ogg_int64_t>(stream->position);
    else if (whence == SEEK_END)
        base = size;
    else if (whence != SEEK_SET)
        return -1;
    if (offset < -base || offset > size - base)
        return -1;
    stream->position = static_cast<std::size_t>(base + offset);
    return 0;
}

int closeStream(void* source)
{
    delete static_cast<OggMemoryStream*>(source);
    return 0;
}

long tellStream(void* source)
{
    return static_cast<long>(static_cast<OggMemoryStream*>(source)->position);
}

constexpr ov_callbacks kMemoryCallbacks = {readStream, seekStream, closeStream, tellStream};
// Without seeking the decoder reads link by link as it plays instead of
// checking every link when it opens, so a damaged later link does not keep
// the good ones before it from playing.
constexpr ov_callbacks kStreamingCallbacks = {readStream, nullptr, closeStream, nullptr};

// Releases the decoder, which closes the stream through the close callback.
struct OggFileCloser {
    void operator()(OggVorbis_File* file) const
    {
        ov_clear(file);
        delete file;
    }
};
using OggFileHandle = std::unique_ptr<OggVorbis_File, OggFileCloser>;

// Opens the decoder on the stream; the decoder owns the stream once open.
// On failure the stream stays with the caller, rewound, for another try.
int openDecoder(std::unique_ptr<OggMemoryStream>& stream, const ov_callbacks& callbacks, OggFileHandle& file)
{
    stream->position = 0;
    auto decoder = std::make_unique<OggVorbis_File>();
    const int result = ov_open_callbacks(stream.get(), decoder.get(), nullptr, 0, callbacks);
    if (result < 0)
        return result;
    static_cast<void>(stream.release());
    file.reset(decoder.release());
    return 0;
}

// The decoder over the whole stream; when a seeking open refuses the file
// (it checks every link), a streaming open that plays the links up to the
// damage. Throws the seeking open's reason when neither opens.
OggFileHandle openStream(std::string bytes)
{
    auto stream = std::make_unique<OggMemoryStream>();
    stream->bytes = std::move(bytes);
    OggFileHandle file;
    const int result = openDecoder(stream, kMemoryCallbacks, file);
    if (result < 0 && openDecoder(stream, kStreamingCallbacks, file) < 0)
        throw Error("Could not open Ogg stream. [" + OggErrorText(result) + "]");
    return file;
}

// What the decoded data will take, as far as the file can be believed: the
// reservation is bounded by the input's size so that a damaged length cannot
// make a giant allocation.
std::size_t expectedBytes(OggVorbis_File& file, int channels, std::size_t inputSize)
{
    const ogg_int64_t samples = ov_pcm_total(&file, -1);
    if (samples <= 0)
        return 0;
    const std::size_t limit = std::max<std::size_t>(inputSize * 64, std::size_t{1} << 20);
    const auto perChannel = static_cast<std::uint64_t>(samples);
    if (perChannel > limit)
        return limit;
    return std::min<std::size_t>(
        static_cast<std::size_t>(perChannel) * static_cast<std::size_t>(channels) * 2, limit);
}

} // namespace

std::string OggErrorText(int code)
{
    switch (code) {
    case OV_EVERSION:
        return "Vorbis version mismatch.";
    case OV_EBADHEADER:
        return "Invalid Vorbis header.";
    case OV_ENOTVORBIS:
        return "Not Vorbis data.";
    case OV_EFAULT:
        return "nternal logic fault (bug or heap/stack corruption.";
    case OV_EREAD:
        return "Read from Media.";
    default:
        return "Unknown Ogg error.";
    }
}

SoundData DecodeOgg(std::string_view fileName, std::string bytes)
{
    const std::size_t inputSize = bytes.size();
    OggFileHandle file = openStream(std::move(bytes));
    const vorbis_info* info = ov_info(file.get(), -1);
    if (!info)
        throw FileError(std::string(fileName), FilePlace::whole(),
                        "the Ogg stream has no Vorbis information");
    const int channels = info->channels;
    const long rate = info->rate;
    if (channels != 1 && channels != 2)
        throw FileError(std::string(fileName), FilePlace::whole(),
                        std::to_string(channels) + " channels: only mono and stereo sound can be played");
    if (rate <= 0 || rate > 0x7FFFFFFF)
        throw FileError(std::string(fileName), FilePlace::whole(),
                        "sample rate " + std::to_string(rate) + " Hz is not a frequency");

    SoundData sound;
    sound.Format = channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    sound.Frequency = static_cast<std::int32_t>(rate);
    std::vector<std::uint8_t>& data = sound.Data;
    data.reserve(expectedBytes(*file, channels, inputSize));

    constexpr std::size_t kStep = std::size_t{64} * 1024;
    std::size_t size = 0;
    int section = -1;
    int checkedSection = -1;
    for (;;) {
        if (data.size() < size + kStep)
            data.resize(size + kStep);
        const long got =
            ov_read(file.get(), reinterpret_cast<char*>(data.data() + size), static_cast<int>(kStep),
                    0 /* little-endian */, 2 /* 16-bit */, 1 /* signed */, &section);
        if (got == 0)
            break;
        if (got == OV_HOLE)
            continue; // a gap in the pages: the decoder goes on behind it
        if (got < 0) {
            // The sound ends at the damage; what came before it plays.
            const std::string damage = "the Ogg stream is damaged after " + std::to_string(size) +
                                       " bytes of sound (" + OggErrorText(static_cast<int>(got)) + ")";
            if (size == 0)
                throw FileError(std::string(fileName), FilePlace::whole(), damage);
            sound.Damage = std::string(fileName) + ": " + damage + "; the sound ends there";
            break;
        }
        if (section != checkedSection) {
            // A chained stream may change its channels or rate from link to
            // link; one buffer can hold one format only.
            const vorbis_info* link = ov_info(file.get(), section);
            if (!link || link->channels != channels || link->rate != rate)
                throw FileError(std::string(fileName), FilePlace::whole(),
                                "the chained Ogg stream changes its format after " + std::to_string(size) +
                                    " bytes of sound");
            checkedSection = section;
        }
        size += static_cast<std::size_t>(got);
        if (size > 0x7FFFFFFF)
            throw FileError(std::string(fileName), FilePlace::whole(),
                            "the decoded sound is larger than 2 GiB");
    }
    data.resize(size);
    return sound;
}

SoundData LoadOgg(std::string_view fileName)
{
    SoundData sound = DecodeOgg(fileName, readFileBytes(fileName));
    if (!sound.Damage.empty())
        LogLine("! " + sound.Damage);
    return sound;
}

} // namespace ra7
