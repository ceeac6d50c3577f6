// Logging must cost the same per line however long the log already is:
// lines are appended and flushed, never the whole file rewritten.
#include "host/Ka7ConsoleCommands.h"
#include "runtime/Ka7Log.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdlib.h>
#include <string>

namespace {

void enterScratchDirectory()
{
    static bool done = false;
    if (done)
        return;
    std::string pattern = (std::filesystem::temp_directory_path() / "ra7bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        std::filesystem::current_path(pattern);
    done = true;
}

// Logs `before` lines untimed, then times the next 1 000: the cost of a line
// at that depth of the log.
void BM_LogLineAfter(benchmark::State& state)
{
    enterScratchDirectory();
    const auto before = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        ra7::InitConsole();
        for (int i = 0; i < before; ++i)
            ra7::LogLine("  Загружаю меш data\\models\\line" + std::to_string(i) + ".mes");
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i)
            ra7::LogLine("  Загружаю меш data\\models\\line" + std::to_string(before + i) + ".mes");
        state.PauseTiming();
        ra7::DoneConsole();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_LogLineAfter)->Arg(0)->Arg(99000)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
