#include "effects/Ka7SoundBuffersList.h"

#include "effects/AudioSource.h"
#include "effects/Ka7Audio.h"
#include "engine/AudioFixture.h"
#include "engine/SoundFiles.h"
#include "host/Ka7ConsoleCommands.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Log.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <gmock/gmock.h>

#include <cstdlib>
#include <sstream>

namespace ra7 {
namespace {

using ::testing::Contains;
using ::testing::StartsWith;
using namespace test;
using SoundBufferList = AudioTest;

std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

void writeTone(const std::string& name, std::uint16_t channels = 1, std::uint32_t rate = 8000)
{
    writeFile(name, pcmWav(channels, rate, 16, pcm16(sineWave(channels, static_cast<int>(rate), 440, 400))));
}

ALint bufferValue(std::uint32_t buffer, ALenum parameter)
{
    ALint value = 0;
    alGetBufferi(buffer, parameter, &value);
    return value;
}

TEST_F(SoundBufferList, AddLoadsAFileOnceByItsExactName)
{
    writeTone("a.wav");
    EXPECT_EQ(SoundBuffers->Add("a.wav"), 0);
    std::filesystem::remove("a.wav");
    EXPECT_EQ(SoundBuffers->Add("a.wav"), 0); // not loaded again: the file is gone
    EXPECT_EQ(SoundBuffers->Count(), 1);
    EXPECT_EQ(SoundBuffers->Add(""), -1);
    EXPECT_EQ(SoundBuffers->Count(), 1);
}

TEST_F(SoundBufferList, NamesThatDifferInCaseAreDifferentSounds)
{
    writeTone("shot.wav");
    EXPECT_EQ(SoundBuffers->Add("shot.wav"), 0);
    EXPECT_EQ(SoundBuffers->Add("Shot.wav"), 1); // the resolver finds the same file
    EXPECT_EQ(SoundBuffers->IndexOf("Shot.wav"), 1);
    EXPECT_EQ(SoundBuffers->IndexOf("SHOT.wav"), -1);
    EXPECT_NE(SoundBuffers->Get(0).Buffer, SoundBuffers->Get(1).Buffer);
}

TEST_F(SoundBufferList, ExtensionIsComparedExactly)
{
    writeTone("x.WAV");
    writeTone("x");
    std::filesystem::create_directory("dir.wav");
    writeTone("dir.wav/x");
    for (const std::string name : {"x.WAV", "x", "dir.wav\\x", "x.wav.bak", "x.oga"})
        EXPECT_EQ(errorOf([&] { SoundBuffers->Add(name); }), "Cannot load " + name);
    EXPECT_EQ(SoundBuffers->Count(), 0);
}

TEST_F(SoundBufferList, GetIsBoundsChecked)
{
    writeTone("a.wav");
    SoundBuffers->Add("a.wav");
    EXPECT_EQ(SoundBuffers->Get(0).Name, "a.wav");
    EXPECT_EQ(errorOf([] { SoundBuffers->Get(1); }), "Array index out of bounds.");
    EXPECT_EQ(errorOf([] { SoundBuffers->Get(-1); }), "Array index out of bounds.");
}

TEST_F(SoundBufferList, BuffersHoldTheLoadedSamples)
{
    writeTone("stereo.wav", 2, 44100);
    writeFile("mono.ogg", encodeOgg(1, 22050, sineWave(1, 22050, 440, 1000)));
    const KaSoundBuffer wav = SoundBuffers->Get(SoundBuffers->Add("stereo.wav"));
    const KaSoundBuffer ogg = SoundBuffers->Get(SoundBuffers->Add("mono.ogg"));
    EXPECT_EQ(wav.Size, 400 * 4);
    EXPECT_EQ(bufferValue(wav.Buffer, AL_SIZE), 400 * 4);
    EXPECT_EQ(bufferValue(wav.Buffer, AL_FREQUENCY), 44100);
    EXPECT_EQ(bufferValue(wav.Buffer, AL_CHANNELS), 2);
    EXPECT_EQ(bufferValue(wav.Buffer, AL_BITS), 16);
    EXPECT_EQ(ogg.Size, 1000 * 2);
    EXPECT_EQ(bufferValue(ogg.Buffer, AL_SIZE), 1000 * 2);
    EXPECT_EQ(bufferValue(ogg.Buffer, AL_FREQUENCY), 22050);
    EXPECT_EQ(bufferValue(ogg.Buffer, AL_CHANNELS), 1);
}

TEST_F(SoundBufferList, FailedAddLeavesTheListAsItWas)
{
    // 6 bytes are not whole stereo 16-bit frames: the buffer refuses them.
    writeFile("torn.wav", pcmWav(2, 8000, 16, "abcdef"));
    EXPECT_EQ(errorOf([] { SoundBuffers->Add("torn.wav"); }), "Cannot assign wave data to buffer");
    EXPECT_EQ(SoundBuffers->Count(), 0);
    EXPECT_EQ(SoundBuffers->IndexOf("torn.wav"), -1);
    EXPECT_THAT(errorOf([] { SoundBuffers->Add("gone.wav"); }), StartsWith("gone.wav: cannot open file"));
    writeTone("good.wav");
    EXPECT_EQ(SoundBuffers->Add("good.wav"), 0);
}

TEST_F(SoundBufferList, ClearStopsAtABufferThatASourceStillHolds)
{
    writeTone("first.wav");
    writeTone("second.wav");
    const std::uint32_t first = SoundBuffers->Get(SoundBuffers->Add("first.wav")).Buffer;
    const std::uint32_t second = SoundBuffers->Get(SoundBuffers->Add("second.wav")).Buffer;
    AudioSource source("Sound");
    source.AttachBuffer(second);

    EXPECT_EQ(errorOf([] { SoundBuffers->Clear(); }), "Cannot delete Buffer");
    EXPECT_FALSE(alIsBuffer(first));
    ASSERT_EQ(SoundBuffers->Count(), 1);
    EXPECT_EQ(SoundBuffers->Get(0).Name, "second.wav");

    source.AttachBuffer(0);
    SoundBuffers->Clear();
    EXPECT_EQ(SoundBuffers->Count(), 0);
    EXPECT_FALSE(alIsBuffer(second));
}

TEST_F(SoundBufferList, TheDeviceIsOpenedOnceAndCanBeOpenedAgainAfterClosing)
{
    ALCcontext* context = alcGetCurrentContext();
    EXPECT_TRUE(OpenAudio());
    EXPECT_EQ(alcGetCurrentContext(), context);
    SoundBuffers.reset();
    CloseAudio();
    EXPECT_FALSE(AudioIsOpen());
    CloseAudio(); // nothing left to close
    EXPECT_TRUE(OpenAudio());
    EXPECT_TRUE(AudioIsOpen());
}

using SoundWithoutDevice = ConsoleTest;

TEST_F(SoundWithoutDevice, EveryOperationFailsWithItsOwnError)
{
    const int code = runInChildProcess([] {
        ::setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
        ::setenv("ALSOFT_CONF", "/dev/null", 1);
        if (OpenAudio()) {
            CloseAudio();
            return kChildCannotConfigure;
        }
        int failures = 0;
        const auto expect = [&](bool ok, const char* what) {
            if (!ok) {
                std::fprintf(stderr, "child: %s\n", what);
                ++failures;
            }
        };
        expect(!AudioIsOpen(), "no context");
        expect(LogLines().back().starts_with("! "), "a warning in the log");
        expect(GetAudioLibraryInfo().version.empty(), "no description");
        writeTone("tone.wav");
        KaSoundBuffersList buffers;
        expect(errorOf([&] { buffers.Add("tone.wav"); }) == "Cannot create Buffer in sound <tone.wav>",
               "buffer error");
        expect(buffers.Count() == 0, "no record");
        expect(errorOf([] { AudioSource source("Sound"); }) == "Cannot create Source in sound <Sound>",
               "source error");
        CloseAudio();
        return failures == 0 ? 0 : 2;
    });
    if (code == kChildCannotConfigure)
        GTEST_SKIP() << "OpenAL was started earlier in this process; run this case on its own (ctest does)";
    EXPECT_EQ(code, 0);
}

} // namespace
} // namespace ra7
