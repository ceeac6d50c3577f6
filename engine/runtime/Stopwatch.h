#pragma once
// The engine's stopwatch over the steady clock: load and conversion timings.

#include <cstdint>
#include <string>

namespace ra7 {

// Stores the current time as the start.
void ResetTimer();
// Milliseconds since the last ResetTimer, with fractions.
float ElapsedMs();

// A measured time as load and conversion messages show it: 1234567 µs →
// "1.234567 секунды", 12345 µs → "12.345 милисекунд", 999 µs → "999".
std::string ElapsedText(std::int64_t microseconds);

} // namespace ra7
