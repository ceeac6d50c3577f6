#include "effects/Ka7SoundLoader.h"

#include "engine/SoundFiles.h"
#include "engine/TestSupport.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Log.h"

#include <gmock/gmock.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace ra7 {
namespace {

using ::testing::StartsWith;
using namespace test;
using OggLoader = ScratchDirectoryTest;

// A sound file that this project did not make (Debian package
// sound-theme-freedesktop).
const char* const kShippedOgg = "/usr/share/sounds/freedesktop/stereo/bell.oga";

std::int16_t sampleAt(const std::vector<std::uint8_t>& data, std::size_t index)
{
    return static_cast<std::int16_t>(data[2 * index] | data[2 * index + 1] << 8);
}

std::string openError(const std::string& bytes)
{
    try {
        DecodeOgg("x.ogg", bytes);
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

TEST_F(OggLoader, MonoFileGivesMono16AndExactlyTheEncodedSamples)
{
    const std::size_t frames = 22050 + 123; // not a multiple of any block size
    writeFile("tone.ogg", encodeOgg(1, 22050, sineWave(1, 22050, 440, frames)));
    const SoundData sound = LoadOgg("tone.ogg");
    EXPECT_EQ(sound.Format, AL_FORMAT_MONO16);
    EXPECT_EQ(sound.Frequency, 22050);
    EXPECT_EQ(sound.Size(), static_cast<std::int32_t>(frames * 2));
    EXPECT_FALSE(sound.Loop);
}

TEST_F(OggLoader, StereoFileDecodesToLittleEndianSamplesCloseToTheSource)
{
    const std::size_t frames = 44100 / 2;
    const std::vector<float> source = sineWave(2, 44100, 1000, frames, 0.5f);
    const SoundData sound = DecodeOgg("tone.ogg", encodeOgg(2, 44100, source, 0.6f));
    EXPECT_EQ(sound.Format, AL_FORMAT_STEREO16);
    EXPECT_EQ(sound.Frequency, 44100);
    ASSERT_EQ(sound.Size(), static_cast<std::int32_t>(frames * 4));
    // Lossy, but a pure tone comes back within a few per cent of full scale;
    // swapped bytes or a lost channel would be far off.
    double errorSum = 0;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const double decoded = sampleAt(sound.Data, i) / 32768.0;
        errorSum += (decoded - source[i]) * (decoded - source[i]);
    }
    EXPECT_LT(std::sqrt(errorSum / static_cast<double>(source.size())), 0.02);
}

TEST_F(OggLoader, ShippedFileMatchesItsOwnPages)
{
    if (!std::filesystem::exists(kShippedOgg))
        RA7_SKIP_WITHOUT(
            kShippedOgg << " is missing: install sound-theme-freedesktop (scripts/packages.txt)");
    const std::string bytes = readFile(kShippedOgg);
    const OggFacts facts = readOggFacts(bytes);
    ASSERT_EQ(facts.channels, 2);
    ASSERT_EQ(facts.rate, 44100u);
    ASSERT_GT(facts.lastGranule, 0);

    const SoundData sound = LoadOgg(kShippedOgg);
    EXPECT_EQ(sound.Format, AL_FORMAT_STEREO16);
    EXPECT_EQ(sound.Frequency, 44100);
    EXPECT_EQ(sound.Size(), facts.lastGranule * facts.channels * 2);
}

TEST_F(OggLoader, OpenErrorsQuoteTheDecodersReason)
{
    EXPECT_EQ(openError("plain text, not a sound at all"), "Could not open Ogg stream. [Not Vorbis data.]");
    EXPECT_EQ(openError(""), "Could not open Ogg stream. [Not Vorbis data.]");
    // An Ogg page that carries another codec.
    std::string good = encodeOgg(1, 8000, sineWave(1, 8000, 300, 800));
    std::string other = good;
    other.replace(other.find("\x01vorbis"), 7, "\x01opus!!");
    EXPECT_THAT(openError(other), StartsWith("Could not open Ogg stream. ["));
    // A damaged setup header.
    const std::size_t setup = good.find("\x05vorbis");
    ASSERT_NE(setup, std::string::npos);
    std::string badSetup = good;
    for (std::size_t i = setup + 7; i < setup + 40; ++i)
        badSetup[i] = static_cast<char>(~badSetup[i]);
    EXPECT_THAT(openError(badSetup), StartsWith("Could not open Ogg stream. ["));
}

TEST_F(OggLoader, CutFileGivesTheWholePagesItHolds)
{
    // Noise does not compress: half of the file is far behind the headers.
    const std::size_t frames = std::size_t{16000} * 5;
    const std::string whole = encodeOgg(1, 16000, noiseWave(1, frames));
    const SoundData half = DecodeOgg("cut.ogg", whole.substr(0, whole.size() / 2));
    EXPECT_GT(half.Size(), 0);
    EXPECT_LT(half.Size(), static_cast<std::int32_t>(frames * 2));
    EXPECT_EQ(half.Size() % 2, 0);
}

TEST_F(OggLoader, MoreThanTwoChannelsAreRefused)
{
    const std::string surround = encodeOgg(3, 8000, sineWave(3, 8000, 300, 800));
    try {
        DecodeOgg("surround.ogg", surround);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "surround.ogg: 3 channels: only mono and stereo sound can be played");
    }
}

// `link` as the second link of a chained stream: its own serial number
// (bytes 14–17 of every page) and, after `change` has altered bytes inside
// its pages, a new checksum on every page.
std::string asSecondLink(std::string link, const std::function<void(std::string&)>& change = {})
{
    if (change)
        change(link);
    for (std::size_t page = 0; page + 27 <= link.size();) {
        link[page + 14] = 0x77;
        link[page + 22] = link[page + 23] = link[page + 24] = link[page + 25] = 0;
        const std::size_t segments = static_cast<std::uint8_t>(link[page + 26]);
        std::size_t size = 27 + segments;
        for (std::size_t i = 0; i < segments; ++i)
            size += static_cast<std::uint8_t>(link[page + 27 + i]);
        std::uint32_t crc = 0;
        for (std::size_t i = 0; i < size; ++i) {
            crc ^= static_cast<std::uint32_t>(static_cast<std::uint8_t>(link[page + i])) << 24;
            for (int bit = 0; bit < 8; ++bit)
                crc = crc & 0x80000000u ? crc << 1 ^ 0x04C11DB7u : crc << 1;
        }
        for (int i = 0; i < 4; ++i)
            link[page + 22 + static_cast<std::size_t>(i)] = static_cast<char>(crc >> (8 * i));
        page += size;
    }
    return link;
}

TEST_F(OggLoader, ChainedStreamThatChangesFormatIsRefused)
{
    const std::string first = encodeOgg(1, 8000, sineWave(1, 8000, 300, 800));
    const std::string second = asSecondLink(encodeOgg(2, 8000, sineWave(2, 8000, 300, 800)));
    EXPECT_THAT(openError(first + second),
                StartsWith("x.ogg: the chained Ogg stream changes its format after "));
}

TEST_F(OggLoader, ADamagedLaterLinkPlaysUpToTheDamage)
{
    // The second link's setup header is damaged (its pages' checksums made
    // right again): the first link still plays, and the damage is told.
    const std::size_t frames = 16000;
    const std::string first = encodeOgg(1, 16000, noiseWave(1, frames));
    const std::string second =
        asSecondLink(encodeOgg(1, 16000, noiseWave(1, frames)), [](std::string& bytes) {
            const std::size_t setup = bytes.find("\x05vorbis");
            for (std::size_t i = setup + 7; i < setup + 40; ++i)
                bytes[i] = static_cast<char>(~bytes[i]);
        });
    const SoundData sound = DecodeOgg("late.ogg", first + second);
    EXPECT_EQ(sound.Size(), static_cast<std::int32_t>(frames * 2)) << "the whole first link";
    EXPECT_EQ(sound.Damage, "late.ogg: the Ogg stream is damaged after " + std::to_string(frames * 2) +
                                " bytes of sound (Invalid Vorbis header.); the sound ends there");
    EXPECT_EQ(DecodeOgg("whole.ogg", first).Damage, "");

    // Loaded from a file, the damage is a line in the log.
    OpenLog();
    writeFile("late.ogg", first + second);
    EXPECT_EQ(LoadOgg("late.ogg").Size(), static_cast<std::int32_t>(frames * 2));
    EXPECT_TRUE(logHas("! " + sound.Damage));
    CloseLog();
}

} // namespace
} // namespace ra7
