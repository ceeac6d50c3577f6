// The sound part of a frame: every sound source of the scene hands its gain,
// pitch, placement, movement and looping to OpenAL and reads its state and
// offsets back, and the listener follows the camera. Runs on OpenAL Soft's
// null device; the figure to read is the time per frame for N playing sounds.
#include "effects/Ka7Audio.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7SoundBuffersList.h"
#include "engine/SoundFiles.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using namespace ra7;

void writeHum(const std::filesystem::path& path)
{
    const std::string bytes = test::pcmWav(1, 8000, 8, std::string(8000, '\x90'));
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void BM_SoundFrame(benchmark::State& state)
{
    ::setenv("ALSOFT_DRIVERS", "null", 0);
    if (!OpenAudio()) {
        state.SkipWithError("no audio device");
        return;
    }
    const std::filesystem::path hum = std::filesystem::temp_directory_path() / "ra7_bench_hum.wav";
    writeHum(hum);
    SoundBuffers = std::make_unique<KaSoundBuffersList>();
    SceneObjects = std::make_unique<KaObjArray>();
    ActiveCameraName.clear();
    {
        KaCamera camera;
        SceneObjects->AddCopy(camera);
    }
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        KaSound sound;
        sound.SetName("horn");
        sound.Looping = 1;
        auto* added = static_cast<KaSound*>(SceneObjects->AddCopy(sound));
        added->Trans->Position = {static_cast<float>(i), 0, 0};
        added->SetSound(hum.string());
        added->Play();
    }
    auto* camera = ActiveCamera();
    float x = 0;
    for (auto _ : state) {
        camera->Trans->Position.x = x += 0.01f;
        SceneObjects->UpdateRoots();
        UpdateSceneListener();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    SceneObjects.reset();
    SoundBuffers.reset();
    CloseAudio();
    std::filesystem::remove(hum);
}

} // namespace

BENCHMARK(BM_SoundFrame)->Arg(16)->Arg(128)->Unit(benchmark::kMicrosecond);
