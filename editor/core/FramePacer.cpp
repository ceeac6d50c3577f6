#include "core/FramePacer.h"

#include <algorithm>
#include <cmath>

namespace ra7::editor {

namespace {

constexpr double kLowestRefreshRate = 20;
constexpr double kHighestRefreshRate = 500;
// A frame this much before its time was asked for at once (the window came
// into use), not woken early by the timer.
constexpr auto kEarlyFrame = std::chrono::milliseconds(2);

} // namespace

double FramePeriodMs(bool inUse, double refreshRate)
{
    if (!inUse)
        return 1000.0 / kInactiveFramesPerSecond;
    const bool plausible =
        std::isfinite(refreshRate) && refreshRate >= kLowestRefreshRate && refreshRate <= kHighestRefreshRate;
    return 1000.0 / (plausible ? refreshRate : kFallbackRefreshRate);
}

FramePacer::Clock::time_point FramePacer::NextDue(Clock::time_point now, double periodMs)
{
    const auto period =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(periodMs));
    // The first frame, a frame later than a whole period and a frame asked
    // for early start the cadence anew.
    if (!started_ || now >= due_ + period || now + kEarlyFrame < due_)
        due_ = now;
    started_ = true;
    due_ += period;
    return due_;
}

int FramePacer::WaitMs(Clock::time_point due, Clock::time_point now)
{
    const double wait = std::chrono::duration<double, std::milli>(due - now).count();
    return static_cast<int>(std::max(0.0, std::ceil(wait)));
}

} // namespace ra7::editor
