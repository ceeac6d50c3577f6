#include "runtime/KaRandom.h"

#include <chrono>
#include <random>

namespace ra7 {

namespace {
std::mt19937& generator()
{
    static std::mt19937 engine(5489u);
    return engine;
}
} // namespace

void Randomize()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    generator().seed(static_cast<std::uint32_t>(ticks));
}

void SeedRandom(std::uint32_t seed)
{
    generator().seed(seed);
}

std::int32_t Random(std::int32_t n)
{
    if (n <= 0)
        return 0;
    std::uniform_int_distribution<std::int32_t> draw(0, n - 1);
    return draw(generator());
}

float RandomReal()
{
    // 24 random bits give every single in [0, 1) with an even step.
    return static_cast<float>(generator()() >> 8) * (1.0f / 16777216.0f);
}

} // namespace ra7
