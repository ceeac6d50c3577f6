// A sound source of the scene heard for real: OpenAL Soft's wave backend
// writes what the device mixes into a WAV file, which the test reads back.
#include "effects/Ka7Audio.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7SoundBuffersList.h"
#include "effects/Ka7SoundLoader.h"
#include "engine/AudioFixture.h"
#include "engine/SoundFiles.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

#include <AL/al.h>
#include <gmock/gmock.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace ra7 {
namespace {

using namespace test;
using namespace std::chrono_literals;
using SoundObjectOutput = ConsoleTest;

constexpr int kRate = 22050;
constexpr double kTone = 330;
constexpr double kSeconds = 0.3;

// In the child: the wave backend, a scene with a camera at the origin and a
// sound source one unit to its right, played frame by frame to its end.
int playSceneIntoWaveFile(const std::filesystem::path& config, const std::filesystem::path& output)
{
    ::setenv("ALSOFT_DRIVERS", "wave", 1);
    ::setenv("ALSOFT_CONF", config.c_str(), 1);
    if (!OpenAudio())
        return 3;
    if (!std::filesystem::exists(output)) { // the wave backend creates it when the device opens
        CloseAudio();
        return kChildCannotConfigure;
    }
    const auto frames = static_cast<std::size_t>(kRate * kSeconds);
    writeFile("tone.wav", pcmWav(1, kRate, 16, pcm16(sineWave(1, kRate, kTone, frames, 0.5f))));
    SoundBuffers = std::make_unique<KaSoundBuffersList>();
    SceneObjects = std::make_unique<KaObjArray>();
    ActiveCameraName.clear();
    {
        KaCamera camera;
        SceneObjects->AddCopy(camera);
        KaSound horn;
        horn.SetName("horn");
        horn.Trans->Position = {1, 0, 0};
        auto* sound = static_cast<KaSound*>(SceneObjects->AddCopy(horn));
        sound->SetSound("tone.wav");
        SceneObjects->UpdateRoots();
        UpdateSceneListener();
        sound->Play();
        int frame = 0;
        for (; frame < 300 && sound->Playing; ++frame) {
            std::this_thread::sleep_for(10ms);
            SceneObjects->UpdateRoots();
            UpdateSceneListener();
        }
        if (sound->Playing)
            return 4;
        std::this_thread::sleep_for(100ms); // let the mixer write its last period
    }
    SceneObjects.reset();
    SoundBuffers.reset();
    CloseAudio();
    return 0;
}

TEST_F(SoundObjectOutput, APlayingSoundSourceIsHeardFromItsSide)
{
    const std::filesystem::path output = dir() / "out.wav";
    const std::filesystem::path config = dir() / "alsoft.conf";
    writeWaveBackendConfig(config, output, kRate);
    const int code = runInChildProcess([&] { return playSceneIntoWaveFile(config, output); });
    if (code == kChildCannotConfigure)
        GTEST_SKIP() << "OpenAL was started earlier in this process; run this case on its own (ctest does)";
    ASSERT_EQ(code, 0);

    const SoundData mixed = LoadWav(output.string());
    ASSERT_EQ(mixed.Format, AL_FORMAT_STEREO16);
    const std::size_t frames = mixed.Data.size() / 4;
    auto sample = [&](std::size_t frame, int channel) { return stereoSample(mixed.Data, frame, channel); };
    std::size_t first = frames, last = 0, crossings = 0;
    double left = 0, right = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double r = sample(i, 1);
        if (std::abs(r) > 0.01) {
            first = std::min(first, i);
            last = i;
        }
        left += sample(i, 0) * sample(i, 0);
        right += r * r;
    }
    ASSERT_LT(first, last) << "the device wrote silence";
    for (std::size_t i = first + 1; i <= last; ++i)
        if ((sample(i - 1, 1) < 0) != (sample(i, 1) < 0))
            ++crossings;
    EXPECT_NEAR(static_cast<double>(last - first + 1) / kRate, kSeconds, 0.02);
    EXPECT_NEAR(static_cast<double>(crossings), 2 * kTone * kSeconds, 0.05 * 2 * kTone * kSeconds);
    EXPECT_GT(right, 4 * left) << "a source on the camera's right is heard on the right";
}

} // namespace
} // namespace ra7
