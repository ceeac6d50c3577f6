// Real output: OpenAL Soft's wave backend writes what the device mixes into
// a WAV file, which the test reads back.
#include "effects/AudioListener.h"
#include "effects/AudioSource.h"
#include "effects/Ka7Audio.h"
#include "effects/Ka7SoundBuffersList.h"
#include "effects/Ka7SoundLoader.h"
#include "engine/AudioFixture.h"
#include "engine/SoundFiles.h"

#include <gmock/gmock.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace ra7 {
namespace {

using namespace test;
using namespace std::chrono_literals;
using AudioOutput = ConsoleTest;

constexpr int kRate = 22050;
constexpr double kTone = 440;
constexpr double kSeconds = 0.4;

// In the child: the wave backend, a 440 Hz tone at `sourcePosition` heard
// by a listener at a camera at the origin turned by `cameraRotation`, played
// to its end.
int playToneIntoWaveFile(const std::filesystem::path& config, const std::filesystem::path& output,
                         const Matrix3& cameraRotation = kIdentityMatrix3,
                         const Vector3& sourcePosition = {1, 0, 0})
{
    ::setenv("ALSOFT_DRIVERS", "wave", 1);
    ::setenv("ALSOFT_CONF", config.c_str(), 1);
    if (!OpenAudio())
        return 3;
    // The wave backend creates its file when the device opens.
    if (!std::filesystem::exists(output)) {
        CloseAudio();
        return kChildCannotConfigure;
    }
    const auto frames = static_cast<std::size_t>(kRate * kSeconds);
    writeFile("tone.wav", pcmWav(1, kRate, 16, pcm16(sineWave(1, kRate, kTone, frames, 0.5f))));
    {
        KaSoundBuffersList buffers;
        AudioSource source("Sound");
        source.AttachBuffer(buffers.Get(buffers.Add("tone.wav")).Buffer);
        SetListener({0, 0, 0}, {0, 0, 0}, cameraRotation);
        SourceFrame frame;
        frame.Position = sourcePosition;
        source.Update(frame);
        source.Play();
        for (int i = 0; i < 300 && source.IsPlaying(); ++i)
            std::this_thread::sleep_for(10ms);
        if (source.IsPlaying())
            return 4;
        std::this_thread::sleep_for(100ms); // let the mixer write its last period
        source.AttachBuffer(0);
    }
    CloseAudio();
    return 0;
}

TEST_F(AudioOutput, PlayedSamplesReachTheDevice)
{
    const std::filesystem::path output = dir() / "out.wav";
    const std::filesystem::path config = dir() / "alsoft.conf";
    writeWaveBackendConfig(config, output, kRate);
    const int code = runInChildProcess([&] { return playToneIntoWaveFile(config, output); });
    if (code == kChildCannotConfigure)
        GTEST_SKIP() << "OpenAL was started earlier in this process; run this case on its own (ctest does)";
    ASSERT_EQ(code, 0);

    const SoundData mixed = LoadWav(output.string());
    ASSERT_EQ(mixed.Format, AL_FORMAT_STEREO16);
    ASSERT_EQ(mixed.Frequency, kRate);
    const std::size_t frames = mixed.Data.size() / 4;
    auto sample = [&](std::size_t frame, int channel) { return stereoSample(mixed.Data, frame, channel); };
    // Where the tone is, how loud each side is and how often it crosses zero.
    std::size_t first = frames, last = 0, crossings = 0;
    double left = 0, right = 0, peak = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double r = sample(i, 1);
        if (std::abs(r) > 0.01) {
            first = std::min(first, i);
            last = i;
        }
        left += sample(i, 0) * sample(i, 0);
        right += r * r;
        peak = std::max(peak, std::abs(r));
    }
    ASSERT_LT(first, last) << "the device wrote silence";
    for (std::size_t i = first + 1; i <= last; ++i)
        if ((sample(i - 1, 1) < 0) != (sample(i, 1) < 0))
            ++crossings;
    const double heard = static_cast<double>(last - first + 1) / kRate;
    EXPECT_NEAR(heard, kSeconds, 0.02);
    EXPECT_NEAR(static_cast<double>(crossings), 2 * kTone * kSeconds, 0.05 * 2 * kTone * kSeconds);
    EXPECT_GT(peak, 0.25);
    EXPECT_LT(peak, 0.55);
    EXPECT_GT(right, 4 * left) << "a source on the right is heard on the right";
}

TEST_F(AudioOutput, ASoundToTheCameraRightIsLouderOnTheRightAtEveryTurn)
{
    const std::filesystem::path config = dir() / "alsoft.conf";
    for (const float degrees : {0.0f, 90.0f, 270.0f, 45.0f}) {
        const std::filesystem::path output = dir() / ("turn" + std::to_string(int(degrees)) + ".wav");
        writeWaveBackendConfig(config, output, kRate);
        // The camera turns about the vertical; its right (the eye's +x) taken
        // into the world through the inverse of its world-to-eye rotation.
        const Matrix3 rotation = RotationY(DegToRad(degrees));
        Vector3 right{1, 0, 0};
        VectorTransform(right, *MatrixInverse3(rotation));
        const int code = runInChildProcess(
            [&] { return playToneIntoWaveFile(config, output, rotation, VectorScale(right, 2)); });
        if (code == kChildCannotConfigure)
            GTEST_SKIP()
                << "OpenAL was started earlier in this process; run this case on its own (ctest does)";
        ASSERT_EQ(code, 0) << degrees;
        const SoundData mixed = LoadWav(output.string());
        ASSERT_EQ(mixed.Format, AL_FORMAT_STEREO16);
        double left = 0, rightEnergy = 0;
        for (std::size_t i = 0; i < mixed.Data.size() / 4; ++i) {
            left += stereoSample(mixed.Data, i, 0) * stereoSample(mixed.Data, i, 0);
            rightEnergy += stereoSample(mixed.Data, i, 1) * stereoSample(mixed.Data, i, 1);
        }
        EXPECT_GT(rightEnergy, 0.0) << degrees;
        EXPECT_GT(rightEnergy, 4 * left) << "turned by " << degrees << " degrees";
    }
}

} // namespace
} // namespace ra7
