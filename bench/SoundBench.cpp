// Decoding Ogg Vorbis must be much faster than playing it: a level loads its
// sounds whole before the first frame. The figure to read is x_realtime,
// seconds of sound decoded per second of work.
#include "effects/Ka7SoundLoader.h"
#include "engine/SoundFiles.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 60;

// One minute of stereo sound at 44.1 kHz: a chord with a little noise, so
// that the encoder has real work to describe.
const std::string& minuteOfOgg()
{
    static const std::string bytes = [] {
        constexpr std::size_t frames = static_cast<std::size_t>(kRate) * kSeconds;
        std::vector<float> samples = ra7::test::sineWave(2, kRate, 220, frames, 0.3f);
        const std::vector<float> fifth = ra7::test::sineWave(2, kRate, 330, frames, 0.2f);
        const std::vector<float> noise = ra7::test::noiseWave(2, frames, 0.05f);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] += fifth[i] + noise[i];
        return ra7::test::encodeOgg(2, kRate, samples, 0.4f);
    }();
    return bytes;
}

void BM_DecodeOggMinute(benchmark::State& state)
{
    const std::string& file = minuteOfOgg();
    std::size_t decoded = 0;
    for (auto _ : state) {
        const ra7::SoundData sound = ra7::DecodeOgg("minute.ogg", file);
        decoded = sound.Data.size();
        benchmark::DoNotOptimize(sound.Data.data());
    }
    if (decoded != static_cast<std::size_t>(kRate) * kSeconds * 4)
        state.SkipWithError("the decoded minute has the wrong length");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * decoded));
    state.counters["file_kib"] = static_cast<double>(file.size()) / 1024.0;
    state.counters["x_realtime"] = benchmark::Counter(
        static_cast<double>(kSeconds) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeOggMinute)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
