#include "effects/Ka7SoundLoader.h"

#include "engine/SoundFiles.h"
#include "engine/TestSupport.h"
#include "runtime/Errors.h"

#include <gmock/gmock.h>

namespace ra7 {
namespace {

using ::testing::StartsWith;
using namespace test;
using namespace std::string_literals;
using WavLoader = ScratchDirectoryTest;

std::vector<std::uint8_t> bytesOf(std::string_view text)
{
    return {text.begin(), text.end()};
}

TEST_F(WavLoader, FormatFollowsChannelsAndBits)
{
    struct Case {
        std::uint16_t channels, bits;
        ALenum format;
    };
    for (const Case& c : {Case{1, 8, AL_FORMAT_MONO8}, Case{1, 16, AL_FORMAT_MONO16},
                          Case{2, 8, AL_FORMAT_STEREO8}, Case{2, 16, AL_FORMAT_STEREO16}}) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.bits << " bits");
        const std::string samples = "\x01\x80\x7F\xFF\x00\x10\x20\x30"s;
        writeFile("s.wav", pcmWav(c.channels, 11025, c.bits, samples));
        const SoundData sound = LoadWav("s.wav");
        EXPECT_EQ(sound.Format, c.format);
        EXPECT_EQ(sound.Frequency, 11025);
        EXPECT_EQ(sound.Data, bytesOf(samples));
        EXPECT_EQ(sound.Size(), 8);
        EXPECT_FALSE(sound.Loop);
    }
}

TEST_F(WavLoader, OddChunksArePaddedToEvenLengths)
{
    // An odd unknown chunk before the format, an odd 8-bit data chunk and a
    // sampler chunk behind it: each is found only if every pad byte is skipped.
    const std::string sampler = std::string(28, '\0') + le32(1) + std::string(28, '\0');
    const std::string file = riffWave(wavChunk("LIST", "abc") + wavChunk("fmt ", pcmFormat(1, 8000, 8)) +
                                      wavChunk("data", "\x10\x20\x30\x40\x50") + wavChunk("smpl", sampler));
    ASSERT_EQ(file.size() % 2, 0u);
    const SoundData sound = ParseWav("odd.wav", file);
    EXPECT_EQ(sound.Format, AL_FORMAT_MONO8);
    EXPECT_EQ(sound.Frequency, 8000);
    EXPECT_EQ(sound.Data, bytesOf("\x10\x20\x30\x40\x50"));
    EXPECT_TRUE(sound.Loop);
}

TEST_F(WavLoader, SamplerChunkSetsTheLoopFlagOnlyAndChangesNothingElse)
{
    const std::string samples = pcm16(sineWave(1, 8000, 400, 64));
    const std::string plain = wavChunk("fmt ", pcmFormat(1, 8000, 16)) + wavChunk("data", samples);
    const auto sampler = [](std::uint32_t loops) {
        return wavChunk("smpl", std::string(28, 'x') + le32(loops) + std::string(28, 'y'));
    };

    const SoundData without = ParseWav("a.wav", riffWave(plain));
    const SoundData looping = ParseWav("b.wav", riffWave(sampler(2) + plain));
    const SoundData noLoops = ParseWav("c.wav", riffWave(plain + sampler(0)));
    EXPECT_EQ(looping.Data, without.Data);
    EXPECT_EQ(looping.Format, without.Format);
    EXPECT_EQ(looping.Frequency, without.Frequency);
    EXPECT_TRUE(looping.Loop);
    EXPECT_FALSE(noLoops.Loop);
    EXPECT_EQ(noLoops.Data, without.Data);
    // A sampler chunk too short to hold the loop count is skipped whole.
    const SoundData shortSampler = ParseWav("d.wav", riffWave(wavChunk("smpl", "\x01\x02\x03") + plain));
    EXPECT_FALSE(shortSampler.Loop);
    EXPECT_EQ(shortSampler.Data, without.Data);
}

TEST_F(WavLoader, DataWithoutFormatIsMono16At22050)
{
    const SoundData sound = ParseWav("raw.wav", riffWave(wavChunk("data", "\x01\x02\x03\x04")));
    EXPECT_EQ(sound.Format, AL_FORMAT_MONO16);
    EXPECT_EQ(sound.Frequency, 22050);
    EXPECT_EQ(sound.Data, bytesOf("\x01\x02\x03\x04"));
}

TEST_F(WavLoader, AFormatChunkBehindTheDataGivesTheDataItsFormat)
{
    const SoundData sound = ParseWav(
        "late.wav", riffWave(wavChunk("data", "\x01\x02\x03\x04") + wavChunk("fmt ", pcmFormat(2, 8000, 8))));
    EXPECT_EQ(sound.Format, AL_FORMAT_STEREO8);
    EXPECT_EQ(sound.Frequency, 8000);
    EXPECT_EQ(sound.Data, bytesOf("\x01\x02\x03\x04"));
}

TEST_F(WavLoader, EmptyNameGivesTheDefaultsWithoutData)
{
    const SoundData sound = LoadWav("");
    EXPECT_EQ(sound.Format, AL_FORMAT_MONO16);
    EXPECT_EQ(sound.Frequency, 22050);
    EXPECT_TRUE(sound.Data.empty());
}

TEST_F(WavLoader, ExtensibleFormatWithPcmSubFormatIsPcm)
{
    std::string guid = le16(1) + std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    const std::string fmt = pcmFormat(2, 48000, 16, 0xFFFE) + le16(22) + le16(16) + le32(3) + guid;
    const SoundData sound = ParseWav("ext.wav", riffWave(wavChunk("fmt ", fmt) + wavChunk("data", "abcd")));
    EXPECT_EQ(sound.Format, AL_FORMAT_STEREO16);
    EXPECT_EQ(sound.Frequency, 48000);
    EXPECT_EQ(sound.Size(), 4);
}

TEST_F(WavLoader, RiffSizeBoundsTheWalk)
{
    const std::string body = wavChunk("fmt ", pcmFormat(1, 8000, 8)) + wavChunk("data", "ab");
    // What trails behind the RIFF form is not part of the sound.
    const std::string trailing = riffWave(body) + wavChunk("data", "junk");
    EXPECT_EQ(ParseWav("t.wav", trailing).Data, bytesOf("ab"));
    // A streaming writer leaves the size 0: the end of the file ends the walk.
    EXPECT_EQ(ParseWav("z.wav", riffWave(body, 0)).Data, bytesOf("ab"));
    EXPECT_EQ(ParseWav("m.wav", riffWave(body, 0xFFFFFFFF)).Data, bytesOf("ab"));
}

TEST_F(WavLoader, FilesAreFoundThroughThePathResolver)
{
    std::filesystem::create_directory("sounds");
    writeFile("sounds/shot.wav", pcmWav(1, 8000, 8, "xy"));
    EXPECT_EQ(LoadWav("Sounds\\Shot.wav").Size(), 2);
}

TEST_F(WavLoader, MissingFileNamesIt)
{
    try {
        LoadWav("gone.wav");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), "gone.wav");
    }
}

// Damaged files: each gives an error naming the file and where it failed.
struct Damage {
    const char* what;
    std::string file;
    const char* message;
};

class DamagedWav : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedWav, IsRefusedWithItsPlace)
{
    try {
        ParseWav("bad.wav", GetParam().file);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_THAT(e.what(), StartsWith("bad.wav: "));
        EXPECT_EQ(std::string(e.what()), std::string("bad.wav: ") + GetParam().message);
    }
}

const std::string kFmt = wavChunk("fmt ", pcmFormat(1, 8000, 16));

INSTANTIATE_TEST_SUITE_P(
    WavLoader, DamagedWav,
    ::testing::Values(
        Damage{"short", "RIFF\x04", "offset 0: the file is too short for a RIFF header (5 bytes)"},
        Damage{"not riff", "RIFX" + le32(4) + "WAVE", "offset 0: not a RIFF WAVE file"},
        Damage{"not wave", "RIFF" + le32(4) + "AVI ", "offset 0: not a RIFF WAVE file"},
        Damage{"data past end", riffWave(kFmt + "data" + le32(100) + "abcd"),
               "offset 36: \"data\" chunk of 100 bytes runs past the end of the file (4 bytes remain)"},
        Damage{
            "huge data", riffWave(kFmt + "data" + le32(0xFFFFFFF0) + "ab"),
            "offset 36: \"data\" chunk of 4294967280 bytes runs past the end of the file (2 bytes remain)"},
        Damage{"non-PCM fmt after data",
               riffWave(wavChunk("data", "ab") + wavChunk("fmt ", pcmFormat(1, 8000, 16, 2))),
               "format tag 2 is not PCM: only uncompressed sound can be played"},
        Damage{"short fmt", riffWave(wavChunk("fmt ", "\x01\x00\x01\x00"s) + wavChunk("data", "ab")),
               "offset 12: \"fmt \" chunk of 4 bytes is shorter than 16"},
        Damage{"truncated fmt", riffWave("fmt " + le32(16) + "\x01\x00\x01\x00"s),
               "offset 12: \"fmt \" chunk of 16 bytes runs past the end of the file"},
        Damage{"24 bits", riffWave(wavChunk("fmt ", pcmFormat(1, 8000, 24)) + wavChunk("data", "abc")),
               "offset 12: 24 bits per sample: only 8 and 16 can be played"},
        Damage{"six channels", riffWave(wavChunk("fmt ", pcmFormat(6, 8000, 16)) + wavChunk("data", "ab")),
               "offset 12: 6 channels: only mono and stereo sound can be played"},
        Damage{"no channels", riffWave(wavChunk("fmt ", pcmFormat(0, 8000, 16)) + wavChunk("data", "ab")),
               "offset 12: 0 channels: only mono and stereo sound can be played"},
        Damage{"zero rate", riffWave(wavChunk("fmt ", pcmFormat(1, 0, 16)) + wavChunk("data", "ab")),
               "offset 12: sample rate 0 Hz is not a frequency"},
        Damage{"float", riffWave(wavChunk("fmt ", pcmFormat(1, 8000, 32, 3)) + wavChunk("data", "abcd")),
               "format tag 3 is not PCM: only uncompressed sound can be played"},
        Damage{"no data", riffWave(kFmt + wavChunk("LIST", "info")),
               "no \"data\" chunk: the file holds no sound"},
        Damage{"second data", riffWave(kFmt + wavChunk("data", "ab") + wavChunk("data", "cd")),
               "offset 46: a second \"data\" chunk"},
        Damage{"chunk past end hides data",
               riffWave(kFmt + "LIST" + le32(0xFFFFFFFF) + wavChunk("data", "ab")),
               "no \"data\" chunk: the file holds no sound"}),
    [](const ::testing::TestParamInfo<Damage>& param) {
        std::string name = param.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

} // namespace
} // namespace ra7
