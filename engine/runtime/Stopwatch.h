#pragma once
// The engine's stopwatch over the steady clock: load and conversion timings.

namespace ra7 {

// Stores the current time as the start.
void ResetTimer();
// Milliseconds since the last ResetTimer, with fractions.
float ElapsedMs();

} // namespace ra7
