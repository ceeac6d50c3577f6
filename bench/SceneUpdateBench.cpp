// One frame's update of the whole scene: propagation down every tree (each
// child found by name), bounds and camera distance; linear in the objects.
#include "SceneBenchSupport.h"

#include "runtime/FrameTime.h"
#include "scene/Ka7Camera.h"

#include <benchmark/benchmark.h>

namespace {

using namespace ra7;

void BM_UpdateScene(benchmark::State& state)
{
    const auto count = static_cast<std::int32_t>(state.range(0));
    std::unique_ptr<KaObjArray> scene = bench::buildBenchScene(count);
    ActiveCameraName = scene->GetItem(9)->Name(); // the first camera
    FrameTime = 16;
    for (auto _ : state)
        scene->UpdateRoots();
    state.counters["per_object"] =
        benchmark::Counter(static_cast<double>(count),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    ActiveCameraName.clear();
}

// Deleting every object by name from the front: each deletion moves the last
// object into the gap, so the whole run stays linear.
void BM_DeleteEveryObject(benchmark::State& state)
{
    const auto count = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<KaObjArray> scene = bench::buildBenchScene(count);
        std::vector<std::string> names;
        for (std::int32_t i = 0; i < count; ++i)
            names.push_back(scene->GetItem(i)->Name());
        scene->BeginUpdate();
        state.ResumeTiming();
        for (const std::string& name : names)
            scene->DeleteByName(name);
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
    state.counters["per_object"] =
        benchmark::Counter(static_cast<double>(count),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_UpdateScene)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteEveryObject)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
