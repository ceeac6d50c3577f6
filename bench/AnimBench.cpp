// One frame of a long script: 10 000 commands over 1 000 objects, started
// over 100 seconds of script time, so every frame starts a few commands and
// runs the ones in progress.
#include "anim/Ka7AnimScript.h"
#include "host/Ka7ConsoleCommands.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> longScript(int commands, int objects)
{
    static const char* forms[] = {"move o{} (1;0;0) t:20", "rotate o{} (0;0.1;0) t:15", "setvisible o{}",
                                  "scale o{} (1;1;1) t:5"};
    std::vector<std::string> lines;
    for (int i = 0; i < commands; ++i) {
        std::string line = std::to_string(i / 10) + " " + forms[i % 4];
        line.replace(line.find("{}"), 2, std::to_string(i % objects));
        lines.push_back(line);
    }
    return lines;
}

void BM_ScriptFrame(benchmark::State& state)
{
    ra7::InitConsole();
    ra7::SceneObjects = std::make_unique<ra7::KaObjArray>();
    ra7::SceneObjects->BeginUpdate();
    for (int i = 0; i < 1000; ++i) {
        auto geometry = std::make_unique<ra7::KaGeometry>();
        geometry->SetName("o" + std::to_string(i));
        ra7::SceneObjects->Add(std::move(geometry));
    }
    ra7::SceneObjects->EndUpdate();
    ra7::KaAnimScript script;
    script.LoadFromStrings(longScript(10000, 1000));
    script.Reset();
    script.Play();
    std::int64_t frames = 0;
    for (auto _ : state) {
        script.Advance(20); // 50 frames a second
        if (script.PosInCom == script.ComCount() && script.StackCount() == 0) {
            state.PauseTiming();
            script.Reset();
            script.Play();
            state.ResumeTiming();
        }
        ++frames;
    }
    state.counters["running"] = static_cast<double>(script.StackCount());
    ra7::SceneObjects.reset();
    ra7::DoneConsole();
}
BENCHMARK(BM_ScriptFrame)->Unit(benchmark::kMicrosecond);

void BM_ScriptParse(benchmark::State& state)
{
    const auto lines = longScript(10000, 1000);
    for (auto _ : state) {
        ra7::KaAnimScript script;
        script.LoadFromStrings(lines);
        benchmark::DoNotOptimize(script.Commands.data());
    }
}
BENCHMARK(BM_ScriptParse)->Unit(benchmark::kMillisecond);

} // namespace
