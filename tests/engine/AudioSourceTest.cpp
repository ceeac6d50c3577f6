#include "effects/AudioSource.h"

#include "effects/Ka7SoundBuffersList.h"
#include "effects/SourceSound.h"
#include "engine/AudioFixture.h"
#include "engine/SoundFiles.h"
#include "runtime/Errors.h"

#include <AL/al.h>
#include <gmock/gmock.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace ra7 {
namespace {

using namespace test;
using namespace std::chrono_literals;
using SoundSource = AudioTest;

// A looping 8-bit mono sound of one second, attached to a new source.
std::uint32_t loadSecondOfSound()
{
    writeFile("hum.wav", pcmWav(1, 8000, 8, std::string(8000, '\x90')));
    return SoundBuffers->Get(SoundBuffers->Add("hum.wav")).Buffer;
}

// Waits until the null device has mixed some of the sound.
SourceOffsets waitForProgress(AudioSource& source)
{
    for (int i = 0; i < 200; ++i) {
        const SourceOffsets offsets = source.Offsets();
        if (offsets.Bytes > 0)
            return offsets;
        std::this_thread::sleep_for(5ms);
    }
    return {};
}

TEST_F(SoundSource, FrameValuesReachTheSource)
{
    AudioSource source("Sound");
    SourceFrame frame;
    frame.Gain = 0.5f;
    frame.Pitch = 1.5f;
    frame.Position = {1, 2, 3};
    frame.Velocity = {2, 0, -1};
    frame.Looping = true;
    const SourceStatus status = source.Update(frame);
    EXPECT_FALSE(status.Playing);
    EXPECT_EQ(status.Offsets, SourceOffsets{});
    EXPECT_EQ(source.Gain(), 0.5f);
    EXPECT_EQ(source.Pitch(), 1.5f);
    EXPECT_EQ(source.Position(), (Vector3{1, 2, 3}));
    EXPECT_EQ(source.Velocity(), (Vector3{2, 0, -1}));
    EXPECT_TRUE(source.Looping());

    frame.Looping = false;
    frame.Position = {-4, 0, 0};
    source.Update(frame);
    EXPECT_FALSE(source.Looping());
    EXPECT_EQ(source.Position(), (Vector3{-4, 0, 0}));
}

// fuzz_kgf: a sound loaded at a non-finite position made every frame fail with "Error AL".
TEST_F(SoundSource, ANonFinitePlacementKeepsTheLastFiniteOne)
{
    AudioSource source("Sound");
    SourceFrame frame;
    frame.Position = {1, 2, 3};
    frame.Velocity = {2, 0, -1};
    source.Update(frame);
    frame.Position = {std::nanf(""), 0, 0};
    frame.Velocity = {0, HUGE_VALF, 0};
    EXPECT_NO_THROW(source.Update(frame));
    EXPECT_EQ(source.Position(), (Vector3{1, 2, 3}));
    EXPECT_EQ(source.Velocity(), (Vector3{2, 0, -1}));
}

TEST_F(SoundSource, PlayingSourceReportsItsOffsetsAndStopZeroesThem)
{
    AudioSource source("Sound");
    source.AttachBuffer(loadSecondOfSound());
    EXPECT_EQ(source.AttachedBuffer(), SoundBuffers->Get(0).Buffer);
    SourceFrame frame;
    frame.Looping = true;
    source.Update(frame);
    source.Play();
    const SourceOffsets early = waitForProgress(source);
    ASSERT_GT(early.Bytes, 0) << "the null device did not advance the source";
    const SourceStatus playing = source.Update(frame);
    EXPECT_TRUE(playing.Playing);
    EXPECT_GT(playing.Offsets.Bytes, 0);
    // Mono 8-bit: one byte a sample (read one after the other, so the byte
    // offset may be a step ahead). A looping one-second sound stays in second 0.
    EXPECT_GT(playing.Offsets.Samples, 0);
    EXPECT_LE(playing.Offsets.Samples, playing.Offsets.Bytes);
    EXPECT_EQ(playing.Offsets.Seconds, 0);

    source.Pause();
    EXPECT_TRUE(source.IsPaused());
    const SourceStatus paused = source.Update(frame);
    EXPECT_FALSE(paused.Playing);
    EXPECT_EQ(paused.Offsets, SourceOffsets{}); // read only while playing
    EXPECT_GT(source.Offsets().Bytes, 0);       // the library keeps the place

    source.Stop();
    EXPECT_FALSE(source.IsPlaying());
    EXPECT_EQ(source.Offsets(), SourceOffsets{});
}

TEST_F(SoundSource, ADeletedSourceMakesTheFrameFail)
{
    AudioSource source("Sound");
    const std::uint32_t name = source.Name();
    source.Delete("Sound");
    EXPECT_EQ(source.Name(), 0u);
    EXPECT_FALSE(alIsSource(name));
    source.Delete("Sound"); // nothing left to delete
    try {
        source.Update({});
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Error AL");
    }
}

TEST_F(SoundSource, AMovedSourceHasOneOwner)
{
    std::uint32_t name = 0;
    {
        AudioSource first("Sound");
        name = first.Name();
        AudioSource second(std::move(first));
        EXPECT_EQ(first.Name(), 0u); // NOLINT(bugprone-use-after-move): the moved-from state is the point
        EXPECT_EQ(second.Name(), name);
        AudioSource third("Other");
        const std::uint32_t replaced = third.Name();
        third = std::move(second);
        EXPECT_FALSE(alIsSource(replaced));
        EXPECT_TRUE(alIsSource(name));
    }
    EXPECT_FALSE(alIsSource(name));
}

TEST_F(SoundSource, ANewSoundReplacesThatOfAPausedSource)
{
    AudioSource source("Sound");
    source.AttachBuffer(loadSecondOfSound());
    source.Play();
    ASSERT_GT(waitForProgress(source).Bytes, 0);
    source.Pause();
    // The audio library takes a new buffer only on a stopped source: a
    // paused one that is not stopped first keeps playing its old sound.
    writeFile("other.wav", pcmWav(2, 8000, 16, std::string(400, '\0')));
    const std::optional<KaSoundBuffer> record = AttachSoundFile(source, "other.wav");
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->Name, "other.wav");
    EXPECT_EQ(record->Size, 400);
    EXPECT_EQ(source.AttachedBuffer(), record->Buffer);
    EXPECT_FALSE(source.IsPaused());
    EXPECT_EQ(source.Offsets(), SourceOffsets{});

    // An empty name keeps the sound; a file that cannot be loaded too.
    EXPECT_FALSE(AttachSoundFile(source, "").has_value());
    EXPECT_THROW(AttachSoundFile(source, "missing.wav"), Error);
    EXPECT_EQ(source.AttachedBuffer(), record->Buffer);
}

} // namespace
} // namespace ra7
