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

std::string ElapsedText(std::int64_t microseconds)
{
    std::string digits = std::to_string(microseconds < 0 ? 0 : microseconds);
    if (digits.size() >= 7)
        return digits.insert(digits.size() - 6, ".") + " секунды";
    if (digits.size() >= 4)
        return digits.insert(digits.size() - 3, ".") + " милисекунд";
    return digits;
}

} // namespace ra7
