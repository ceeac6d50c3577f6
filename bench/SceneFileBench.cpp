// Loading and saving scene files must cost the same per object however big
// the scene: names are indexed, unique names are found without rescanning,
// and nothing is copied per object beyond its own record.
#include "SceneBenchSupport.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <sys/resource.h>

namespace {

using namespace ra7;

std::string fileFor(std::int64_t count)
{
    return "bench" + std::to_string(count) + ".kgf";
}

void BM_SaveKgf(benchmark::State& state)
{
    bench::enterScratchDirectory();
    const auto count = static_cast<std::int32_t>(state.range(0));
    const std::unique_ptr<KaObjArray> scene = bench::buildBenchScene(count);
    const std::vector<std::int32_t> indexes = bench::allIndexes(*scene);
    for (auto _ : state)
        scene->SaveObjects(fileFor(count), indexes, {"addmesh <data\\models\\crate.mes>"});
    state.counters["per_object"] =
        benchmark::Counter(static_cast<double>(count),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(fileFor(count))) / (1024.0 * 1024.0);
}

void BM_LoadKgf(benchmark::State& state)
{
    bench::enterScratchDirectory();
    const auto count = static_cast<std::int32_t>(state.range(0));
    {
        const std::unique_ptr<KaObjArray> scene = bench::buildBenchScene(count);
        scene->SaveObjects(fileFor(count), bench::allIndexes(*scene), {});
    }
    double sceneMegabytes = 0;
    for (auto _ : state) {
        const double before = bench::heapMegabytes();
        auto scene = std::make_unique<KaObjArray>();
        scene->LoadFromFile(fileFor(count));
        state.PauseTiming();
        sceneMegabytes = bench::heapMegabytes() - before;
        if (scene->Count() != count)
            state.SkipWithError("the scene did not load whole");
        scene.reset();
        state.ResumeTiming();
    }
    state.counters["per_object"] =
        benchmark::Counter(static_cast<double>(count),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["scene_MB"] = sceneMegabytes;
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Merging a file into a scene that already holds every one of its names:
// each name needs a new number.
void BM_MergeKgfIntoItself(benchmark::State& state)
{
    bench::enterScratchDirectory();
    const auto count = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<KaObjArray> scene = bench::buildBenchScene(count);
        scene->SaveObjects(fileFor(count), bench::allIndexes(*scene), {});
        state.ResumeTiming();
        scene->LoadFromFile(fileFor(count));
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
    state.counters["per_object"] =
        benchmark::Counter(static_cast<double>(count),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_SaveKgf)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadKgf)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeKgfIntoItself)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
