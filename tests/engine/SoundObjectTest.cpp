// The scene's sound sources on a real OpenAL device: what reaches the source
// each frame, playing, pausing and stopping, sources shared by copies, the
// array's deletions, the listener at the active camera, scene files, and
// sound objects on a machine without an audio device.
#include "effects/AudioListener.h"
#include "effects/AudioSource.h"
#include "effects/Ka7Audio.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7SoundBuffersList.h"
#include "engine/AudioFixture.h"
#include "engine/SceneTestSupport.h"
#include "engine/SoundFiles.h"
#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "scene/Ka7Camera.h"

#include <AL/al.h>
#include <gmock/gmock.h>

#include <chrono>
#include <functional>
#include <thread>

namespace ra7 {
namespace {

using ::testing::ElementsAre;
using namespace test;
using namespace std::chrono_literals;

// A scene with the audio device open and the sound buffer list, freed in
// the order the engine frees them: objects, buffers, device.
class SoundScene : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        ASSERT_TRUE(OpenAudio()) << "no audio device (tests run with ALSOFT_DRIVERS=null)";
        SoundBuffers = std::make_unique<KaSoundBuffersList>();
    }
    void TearDown() override
    {
        SceneObjects.reset();
        SoundBuffers.reset();
        CloseAudio();
        SceneTest::TearDown();
    }

    // A sound of one second (8-bit mono, 8000 Hz), looping, attached.
    KaSound& addHum(const std::string& name)
    {
        if (!std::filesystem::exists("hum.wav"))
            writeFile("hum.wav", pcmWav(1, 8000, 8, std::string(8000, '\x90')));
        auto& sound = add<KaSound>(name);
        sound.Looping = 1;
        sound.SetSound("hum.wav");
        return sound;
    }

    // One frame as the scene update runs it.
    void frame()
    {
        scene().UpdateRoots();
        UpdateSceneListener();
    }
};

// Runs frames until the device has mixed some of the sound.
bool waitForProgress(KaSound& sound)
{
    for (int i = 0; i < 200; ++i) {
        sound.Update();
        if (sound.ByteOffset > 0)
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

bool sourceExists(std::uint32_t name)
{
    return alIsSource(name) == AL_TRUE;
}

using SoundObject = SoundScene;

TEST_F(SoundObject, GainPitchPlacementMovementAndLoopingReachTheSourceEachFrame)
{
    auto& parent = add<KaSound>("cart");
    auto& horn = add<KaSound>("horn");
    parent.AddChild(horn);
    horn.LocalTrans->Position = {0, 0, 1};
    horn.Gain = 0.25f;
    horn.Pitch = 2.0f;
    horn.Looping = 1;
    parent.Trans->Position = {10, 0, 0};
    frame();
    parent.Trans->Position = {13, 0, 0};
    frame();

    const AudioSource& source = *horn.Source;
    EXPECT_EQ(source.Position(), (Vector3{13, 0, 1}));
    EXPECT_EQ(source.Velocity(), (Vector3{3, 0, 0}));
    EXPECT_EQ(source.Gain(), 0.25f);
    EXPECT_EQ(source.Pitch(), 2.0f);
    EXPECT_TRUE(source.Looping());
    // The parent, a root, hands over its own movement too.
    EXPECT_EQ(parent.Source->Velocity(), (Vector3{3, 0, 0}));
    EXPECT_FALSE(parent.Source->Looping());

    // Standing still and no longer looping: the next frame says so.
    horn.Looping = 0;
    frame();
    EXPECT_EQ(source.Velocity(), (Vector3{0, 0, 0}));
    EXPECT_FALSE(source.Looping());
}

TEST_F(SoundObject, AValueTheAudioLibraryRefusesFailsTheFrameWithErrorAL)
{
    auto& horn = add<KaSound>("horn");
    horn.Gain = -1.0f; // OpenAL accepts no negative gain
    try {
        horn.Update();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Error AL");
    }
    horn.Gain = 1.0f;
    EXPECT_NO_THROW(horn.Update()) << "the error flag is not left standing";
}

TEST_F(SoundObject, SetSoundAttachesTheBufferAndKeepsTheOldSoundOnFailure)
{
    writeFile("short.wav", pcmWav(2, 11025, 16, std::string(400, '\0')));
    auto& sound = addHum("horn");
    EXPECT_EQ(sound.SoundName, "hum.wav");
    EXPECT_EQ(sound.BufferSize, 8000);
    const std::uint32_t hum = sound.Source->AttachedBuffer();
    EXPECT_NE(hum, 0u);

    EXPECT_THROW(sound.SetSound("missing.wav"), Error);
    EXPECT_THROW(sound.SetSound("noise.mp3"), Error);
    sound.SetSound("");
    EXPECT_EQ(sound.SoundName, "hum.wav");
    EXPECT_EQ(sound.Source->AttachedBuffer(), hum);

    // A new sound while playing: the source stops first (the library refuses
    // a buffer on a playing source).
    sound.Play();
    ASSERT_EQ(sound.Playing, 1);
    sound.SetSound("short.wav");
    EXPECT_EQ(sound.Playing, 0);
    EXPECT_EQ(sound.SoundName, "short.wav");
    EXPECT_EQ(sound.BufferSize, 400);
    EXPECT_EQ(sound.Source->AttachedBuffer(), SoundBuffers->Get(SoundBuffers->IndexOf("short.wav")).Buffer);
}

TEST_F(SoundObject, PlayPauseAndStopKeepTheOffsetsInStep)
{
    auto& sound = addHum("horn");
    sound.Play();
    EXPECT_EQ(sound.Playing, 1);
    ASSERT_TRUE(waitForProgress(sound));
    // 8-bit mono: one byte per sample.
    EXPECT_EQ(sound.SampleOffset, sound.ByteOffset);
    EXPECT_EQ(sound.SecOffset, sound.SampleOffset / 8000);

    sound.Pause();
    sound.Update();
    EXPECT_EQ(sound.Playing, 0);
    EXPECT_TRUE(sound.Source->IsPaused());
    EXPECT_GT(sound.ByteOffset, 0) << "a pause keeps the position";
    sound.Play();
    EXPECT_EQ(sound.Playing, 1);

    sound.Stop();
    EXPECT_EQ(sound.Playing, 0);
    EXPECT_EQ(sound.SecOffset, 0);
    EXPECT_EQ(sound.SampleOffset, 0);
    EXPECT_EQ(sound.ByteOffset, 0);
    EXPECT_FALSE(sound.Source->IsPlaying());
    sound.Update();
    EXPECT_EQ(sound.Playing, 0);
    EXPECT_EQ(sound.ByteOffset, 0);
}

TEST_F(SoundObject, PlayWithoutASoundDoesNotClaimToPlay)
{
    auto& sound = add<KaSound>("mute");
    sound.Play();
    EXPECT_EQ(sound.Playing, 0);
}

TEST_F(SoundObject, AssignSharesTheSourceAndDropsTheOneTheCopyGenerated)
{
    auto& horn = addHum("horn");
    KaSound copy;
    const std::uint32_t generated = copy.Source->Name();
    ASSERT_TRUE(sourceExists(generated));
    copy.Assign(horn);
    EXPECT_EQ(copy.Source, horn.Source);
    EXPECT_EQ(copy.SoundName, "hum.wav");
    EXPECT_FALSE(sourceExists(generated)) << "the copy's own source would leak";
}

TEST_F(SoundObject, DeletingOneOfTwoSharingSoundsKeepsTheOtherPlaying)
{
    auto& horn = addHum("horn");
    horn.Play();
    auto* copy = static_cast<KaSound*>(scene().AddCopy(horn));
    ASSERT_EQ(copy->Name(), "horn_1");
    const std::uint32_t name = horn.Source->Name();

    scene().DeleteByName("horn");
    copy->Update();
    EXPECT_EQ(copy->Playing, 1);
    EXPECT_TRUE(copy->Source->IsPlaying());

    scene().DeleteByName("horn_1");
    EXPECT_FALSE(sourceExists(name)) << "the last owner deletes the source";
}

TEST_F(SoundObject, DeleteByNameStopsAPlayingSoundInAnySlot)
{
    auto& first = addHum("first");
    auto& middle = addHum("middle");
    auto& last = addHum("last");
    for (KaSound* sound : {&first, &middle, &last})
        sound->Play();
    const std::uint32_t firstSource = first.Source->Name();
    const std::uint32_t lastSource = last.Source->Name();

    scene().DeleteByName("first"); // "last" moves into slot 0 and keeps playing
    EXPECT_FALSE(sourceExists(firstSource));
    EXPECT_THAT(names(), ElementsAre("last", "middle"));
    EXPECT_TRUE(last.Source->IsPlaying());

    scene().DeleteByName("middle"); // the last slot
    EXPECT_TRUE(last.Source->IsPlaying());
    scene().DeleteByName("last");
    EXPECT_FALSE(sourceExists(lastSource));
}

TEST_F(SoundObject, ClearDeletesEverySourceOnceEvenWhenShared)
{
    auto& horn = addHum("horn");
    horn.Play();
    scene().AddCopy(horn);
    auto& bell = addHum("bell");
    const std::uint32_t shared = horn.Source->Name();
    const std::uint32_t own = bell.Source->Name();
    scene().Clear();
    EXPECT_FALSE(sourceExists(shared));
    EXPECT_FALSE(sourceExists(own));
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(SoundObject, ASceneFileKeepsThePlacementButNotTheSound)
{
    auto& horn = addHum("horn");
    horn.Trans->Position = {1, 2, 3};
    horn.Gain = 0.5f;
    horn.Play();
    scene().SaveObjects("sounds.kgf", {0}, {});
    const std::string saved = readFile("sounds.kgf");

    SceneObjects = std::make_unique<KaObjArray>();
    scene().LoadFromFile("sounds.kgf");
    auto* loaded = dynamic_cast<KaSound*>(scene().FindByName("horn"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Trans->Position, (Vector3{1, 2, 3}));
    EXPECT_EQ(loaded->SoundName, "");
    EXPECT_EQ(loaded->Gain, 1.0f);
    ASSERT_NE(loaded->Source, nullptr) << "a loaded sound gets its own source";
    loaded->SetSound("hum.wav");
    loaded->Play();
    EXPECT_EQ(loaded->Playing, 1);

    scene().SaveObjects("again.kgf", {0}, {});
    EXPECT_EQ(readFile("again.kgf"), saved);
}

using SceneListener = SoundScene;

TEST_F(SceneListener, StaysWhereItIsWithoutAnActiveCamera)
{
    auto& camera = add<KaCamera>("cam");
    camera.Trans->Position = {7, 7, 7};
    SetListener({1, 1, 1}, {0, 0, 0}, kIdentityMatrix3);
    ActiveCameraName = "nobody";
    frame();
    EXPECT_EQ(GetListener().Position, (Vector3{1, 1, 1}));
}

// Without an audio device: the sound objects of a scene load, save and move;
// the operations that need the device say which sound could not get one.
using SoundObjectWithoutDevice = SceneTest;

std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

TEST_F(SoundObjectWithoutDevice, LoadsSavesAndMovesButCannotPlay)
{
    ASSERT_FALSE(AudioIsOpen());
    auto& horn = add<KaSound>("horn");
    EXPECT_EQ(horn.Source, nullptr);
    horn.Trans->Position = {4, 0, 0};
    scene().UpdateRoots();
    horn.Trans->Position = {6, 0, 0};
    scene().UpdateRoots();
    EXPECT_EQ(horn.Velocity, (Vector3{2, 0, 0}));
    UpdateSceneListener();

    const std::string expected = "Cannot create Source in sound <horn>";
    EXPECT_EQ(errorOf([&] { horn.Play(); }), expected);
    EXPECT_EQ(errorOf([&] { horn.Pause(); }), expected);
    EXPECT_EQ(errorOf([&] { horn.SetSound("hum.wav"); }), expected);
    horn.Stop();
    EXPECT_EQ(horn.Playing, 0);

    scene().SaveObjects("horn.kgf", {0}, {});
    SceneObjects = std::make_unique<KaObjArray>();
    scene().LoadFromFile("horn.kgf");
    auto* loaded = dynamic_cast<KaSound*>(scene().FindByName("horn"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Trans->Position, (Vector3{6, 0, 0}));
    scene().DeleteByName("horn");
    EXPECT_EQ(scene().Count(), 0);
}

TEST_F(SoundObjectWithoutDevice, GetsItsSourceOnceTheDeviceOpens)
{
    auto& horn = add<KaSound>("horn");
    ASSERT_TRUE(OpenAudio());
    SoundBuffers = std::make_unique<KaSoundBuffersList>();
    writeFile("hum.wav", pcmWav(1, 8000, 8, std::string(800, '\x90')));
    horn.SetSound("hum.wav");
    horn.Play();
    EXPECT_EQ(horn.Playing, 1);
    SceneObjects.reset();
    SoundBuffers.reset();
    CloseAudio();
}

} // namespace
} // namespace ra7
