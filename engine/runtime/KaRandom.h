#pragma once
// The engine's one random generator. Particles draw from it; tests seed it so
// that a run repeats exactly. Start-up seeds it once from the clock.

#include <cstdint>

namespace ra7 {

// Seeds the generator from the clock.
void Randomize();
// Seeds the generator with a fixed value.
void SeedRandom(std::uint32_t seed);

// A uniform whole number from 0 to n − 1; 0 when n is 0 or negative.
std::int32_t Random(std::int32_t n);
// A uniform real in [0, 1).
float RandomReal();

} // namespace ra7
