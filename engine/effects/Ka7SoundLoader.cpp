// The RIFF WAVE reader. A WAVE file is a RIFF header followed by chunks,
// each an identifier, a 32-bit little-endian size and that many bytes, padded
// to an even length. Only "fmt ", "data" and "smpl" matter; anything else is
// skipped.
#include "effects/Ka7SoundLoader.h"

#include "runtime/Errors.h"
#include "runtime/FileIO.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace ra7 {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
// The tail of KSDATAFORMAT_SUBTYPE_PCM behind its first two bytes (which
// hold the format tag 1).
constexpr std::array<std::uint8_t, 14> kPcmSubFormatTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

class WavReader {
public:
    WavReader(std::string_view fileName, std::string_view bytes) : fileName_(fileName), bytes_(bytes) {}

    SoundData read();

private:
    struct ChunkHeader {
        std::string_view id;
        std::uint32_t size = 0;
        std::size_t bodyOffset = 0;
    };

    std::uint16_t u16(std::size_t offset) const
    {
        return static_cast<std::uint16_t>(byteAt(offset) | byteAt(offset + 1) << 8);
    }
    std::uint32_t u32(std::size_t offset) const
    {
        return static_cast<std::uint32_t>(u16(offset)) | static_cast<std::uint32_t>(u16(offset + 2)) << 16;
    }
    std::uint32_t byteAt(std::size_t offset) const { return static_cast<std::uint8_t>(bytes_[offset]); }
    std::size_t availableFrom(std::size_t offset) const
    {
        return offset < bytes_.size() ? bytes_.size() - offset : 0;
    }

    [[noreturn]] void fail(std::size_t offset, const std::string& what) const
    {
        throw FileError(std::string(fileName_), FilePlace::offset(offset), what);
    }
    [[noreturn]] void failWhole(const std::string& what) const
    {
        throw FileError(std::string(fileName_), FilePlace::whole(), what);
    }

    void readHeader();
    void readFormat(const ChunkHeader& chunk);
    void readData(const ChunkHeader& chunk);
    void readSampler(const ChunkHeader& chunk);
    bool isPcm(const ChunkHeader& chunk, std::uint16_t tag) const;

    std::string_view fileName_;
    std::string_view bytes_;
    SoundData sound_;
    // Sample data without a "fmt " chunk is taken as PCM, mono 16-bit at
    // 22050 Hz.
    std::uint16_t formatTag_ = kFormatPcm;
    bool dataSeen_ = false;
};

SoundData WavReader::read()
{
    readHeader();
    // The RIFF size counts the form type "WAVE" and every chunk behind it. A
    // size too small to be true (writers that stream leave it 0) does not end
    // the walk early: the end of the file does.
    std::int64_t remaining = ((static_cast<std::int64_t>(u32(4)) + 1) & ~std::int64_t{1}) - 4;
    std::size_t offset = 12;
    while (remaining != 0 && availableFrom(offset) >= 8) {
        const ChunkHeader chunk{bytes_.substr(offset, 4), u32(offset + 4), offset + 8};
        if (chunk.id == "fmt ")
            readFormat(chunk);
        else if (chunk.id == "data")
            readData(chunk);
        else if (chunk.id == "smpl")
            readSampler(chunk);
        const std::uint64_t padded = (static_cast<std::uint64_t>(chunk.size) + 1) & ~std::uint64_t{1};
        remaining -= static_cast<std::int64_t>(padded) + 8;
        // A chunk that claims more than the file holds ends the walk.
        if (padded > availableFrom(chunk.bodyOffset))
            break;
        offset = chunk.bodyOffset + static_cast<std::size_t>(padded);
    }
    if (formatTag_ != kFormatPcm)
        failWhole("format tag " + std::to_string(formatTag_) +
                  " is not PCM: only uncompressed sound can be played");
    if (!dataSeen_)
        failWhole("no \"data\" chunk: the file holds no sound");
    return std::move(sound_);
}

void WavReader::readHeader()
{
    if (bytes_.size() < 12)
        fail(0, "the file is too short for a RIFF header (" + std::to_string(bytes_.size()) + " bytes)");
    if (bytes_.substr(0, 4) != "RIFF" || bytes_.substr(8, 4) != "WAVE")
        fail(0, "not a RIFF WAVE file");
}

bool WavReader::isPcm(const ChunkHeader& chunk, std::uint16_t tag) const
{
    if (tag == kFormatPcm)
        return true;
    // WAVE_FORMAT_EXTENSIBLE carries the real format in its sub-format GUID.
    if (tag != kFormatExtensible || chunk.size < 40)
        return false;
    const std::size_t guid = chunk.bodyOffset + 24;
    if (u16(guid) != kFormatPcm)
        return false;
    return std::equal(
        kPcmSubFormatTail.begin(), kPcmSubFormatTail.end(), bytes_.begin() + guid + 2,
        [](std::uint8_t expected, char actual) { return expected == static_cast<std::uint8_t>(actual); });
}

void WavReader::readFormat(const ChunkHeader& chunk)
{
    // A "fmt " chunk behind the data still describes it: the data was kept
    // as it came and takes the format given here.
    const std::size_t header = chunk.bodyOffset - 8;
    if (chunk.size < 16)
        fail(header, "\"fmt \" chunk of " + std::to_string(chunk.size) + " bytes is shorter than 16");
    if (availableFrom(chunk.bodyOffset) < chunk.size)
        fail(header,
             "\"fmt \" chunk of " + std::to_string(chunk.size) + " bytes runs past the end of the file");
    const std::uint16_t tag = u16(chunk.bodyOffset);
    if (!isPcm(chunk, tag)) {
        formatTag_ = tag;
        return;
    }
    formatTag_ = kFormatPcm;
    const std::uint16_t channels = u16(chunk.bodyOffset + 2);
    const std::uint32_t rate = u32(chunk.bodyOffset + 4);
    const std::uint16_t bits = u16(chunk.bodyOffset + 14);
    if (channels != 1 && channels != 2)
        fail(header, std::to_string(channels) + " channels: only mono and stereo sound can be played");
    if (bits != 8 && bits != 16)
        fail(header, std::to_string(bits) + " bits per sample: only 8 and 16 can be played");
    if (rate == 0 || rate > 0x7FFFFFFF)
        fail(header, "sample rate " + std::to_string(rate) + " Hz is not a frequency");
    if (channels == 1)
        sound_.Format = bits == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    else
        sound_.Format = bits == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
    sound_.Frequency = static_cast<std::int32_t>(rate);
}

void WavReader::readData(const ChunkHeader& chunk)
{
    if (formatTag_ != kFormatPcm)
        return;
    const std::size_t header = chunk.bodyOffset - 8;
    if (dataSeen_)
        fail(header, "a second \"data\" chunk");
    const std::size_t available = availableFrom(chunk.bodyOffset);
    if (chunk.size > available)
        fail(header, "\"data\" chunk of " + std::to_string(chunk.size) +
                         " bytes runs past the end of the file (" + std::to_string(available) +
                         " bytes remain)");
    if (chunk.size > 0x7FFFFFFF)
        fail(header, "\"data\" chunk of " + std::to_string(chunk.size) + " bytes is too large");
    const auto* first = reinterpret_cast<const std::uint8_t*>(bytes_.data()) + chunk.bodyOffset;
    sound_.Data.assign(first, first + chunk.size);
    dataSeen_ = true;
}

void WavReader::readSampler(const ChunkHeader& chunk)
{
    // The loop count is the 32-bit value at byte 28 of the sampler header.
    if (chunk.size < 32 || availableFrom(chunk.bodyOffset) < 32)
        return;
    sound_.Loop = u32(chunk.bodyOffset + 28) != 0;
}

} // namespace

SoundData ParseWav(std::string_view fileName, std::string_view bytes)
{
    return WavReader(fileName, bytes).read();
}

SoundData LoadWav(std::string_view fileName)
{
    if (fileName.empty())
        return {};
    const std::string bytes = readFileBytes(fileName);
    return ParseWav(fileName, bytes);
}

} // namespace ra7
