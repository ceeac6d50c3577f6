// A sound source of the scene heard for real: OpenAL Soft's wave backend
// writes what the device mixes into a WAV file, which the test reads back.
#include "effects/Ka7Audio.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7SoundBuffersList.h"
#include "effects/Ka7SoundLoader.h"
#include "engine/AudioFixture.h"
#include "engine/SoundFiles.h"
#include "math/DotMath.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

#include <AL/al.h>
#include <gmock/gmock.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <thread>

namespace ra7 {
namespace {

using namespace test;
using namespace std::chrono_literals;
using AudioOutput = ConsoleTest;

constexpr int kRate = 22050;
constexpr double kTone = 330;
constexpr double kSeconds = 0.3;

// In the child: the wave backend, a scene with a camera at the origin turned
// by `cameraRotation` and a sound source at `sourcePosition`, played frame by
// frame to its end.
int playSceneIntoWaveFile(const std::filesystem::path& config, const std::filesystem::path& output,
                          const Matrix3& cameraRotation, const Vector3& sourcePosition)
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
        camera.Trans->Rotation = cameraRotation;
        SceneObjects->AddCopy(camera);
        KaSound horn;
        horn.SetName("horn");
        horn.Trans->Position = sourcePosition;
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

// The mixed file of one scene played in a child process; empty when OpenAL
// was started in this process before (the case is then skipped).
std::optional<SoundData> heard(const std::filesystem::path& dir, const std::string& name,
                               const Matrix3& cameraRotation, const Vector3& sourcePosition)
{
    const std::filesystem::path output = dir / (name + ".wav");
    const std::filesystem::path config = dir / "alsoft.conf";
    writeWaveBackendConfig(config, output, kRate);
    const int code = runInChildProcess(
        [&] { return playSceneIntoWaveFile(config, output, cameraRotation, sourcePosition); });
    if (code == kChildCannotConfigure)
        return std::nullopt;
    EXPECT_EQ(code, 0) << name;
    return LoadWav(output.string());
}

constexpr const char* kStartedBefore = "OpenAL was started earlier in this process; run this case on its own "
                                       "(ctest does)";

TEST_F(AudioOutput, APlayingSoundSourceIsHeardWholeAndFromItsSide)
{
    const auto mixed = heard(dir(), "out", kIdentityMatrix3, {1, 0, 0});
    if (!mixed)
        GTEST_SKIP() << kStartedBefore;
    ASSERT_EQ(mixed->Format, AL_FORMAT_STEREO16);
    ASSERT_EQ(mixed->Frequency, kRate);
    const std::size_t frames = mixed->Data.size() / 4;
    auto sample = [&](std::size_t frame, int channel) { return stereoSample(mixed->Data, frame, channel); };
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
    EXPECT_NEAR(static_cast<double>(last - first + 1) / kRate, kSeconds, 0.02);
    EXPECT_NEAR(static_cast<double>(crossings), 2 * kTone * kSeconds, 0.05 * 2 * kTone * kSeconds);
    EXPECT_GT(peak, 0.25);
    EXPECT_LT(peak, 0.55);
    EXPECT_GT(right, 4 * left) << "a source on the camera's right is heard on the right";
}

// The listener follows the active camera's turn: a source at the camera's
// right is heard on the right whichever way the camera faces.
TEST_F(AudioOutput, ASoundToTheCameraRightIsLouderOnTheRightAtEveryTurn)
{
    for (const float degrees : {90.0f, 270.0f, 45.0f}) {
        // The camera's right (the eye's +x) taken into the world through the
        // inverse of its world-to-eye rotation.
        const Matrix3 rotation = RotationY(DegToRad(degrees));
        Vector3 right{1, 0, 0};
        VectorTransform(right, *MatrixInverse3(rotation));
        const auto mixed =
            heard(dir(), "turn" + std::to_string(int(degrees)), rotation, VectorScale(right, 2));
        if (!mixed)
            GTEST_SKIP() << kStartedBefore;
        ASSERT_EQ(mixed->Format, AL_FORMAT_STEREO16);
        double leftEnergy = 0, rightEnergy = 0;
        for (std::size_t i = 0; i < mixed->Data.size() / 4; ++i) {
            leftEnergy += stereoSample(mixed->Data, i, 0) * stereoSample(mixed->Data, i, 0);
            rightEnergy += stereoSample(mixed->Data, i, 1) * stereoSample(mixed->Data, i, 1);
        }
        EXPECT_GT(rightEnergy, 0.0) << degrees;
        EXPECT_GT(rightEnergy, 4 * leftEnergy) << "turned by " << degrees << " degrees";
    }
}

} // namespace
} // namespace ra7
