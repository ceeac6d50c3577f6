#include "runtime/Stopwatch.h"

#include <chrono>

namespace ra7 {

namespace {
std::chrono::steady_clock::time_point timerStart = std::chrono::steady_clock::now();
}

void ResetTimer()
{
    timerStart = std::chrono::steady_clock::now();
}

float ElapsedMs()
{
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - timerStart;
    return static_cast<float>(elapsed.count());
}

} // namespace ra7
