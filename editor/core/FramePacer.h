#pragma once
// How often the editor draws while nothing happens: at most at the display's
// refresh rate while the window is in use, and a few frames a second while it
// is inactive or minimised, so that an idle editor leaves the processor to
// the user's other programs.

#include <chrono>

namespace ra7::editor {

// Frames a second while the window is inactive or minimised: particles and
// scripts go on, at a tenth of a core or less where the frames are drawn
// in software (a frame of the sample costs about 40 ms of processor time on
// Mesa's llvmpipe).
inline constexpr double kInactiveFramesPerSecond = 2;
// The rate assumed when the display does not tell its own.
inline constexpr double kFallbackRefreshRate = 60;

// Milliseconds between frames for the window's state and the display's
// refresh rate (a rate outside 20 .. 500 Hz is taken as the fallback).
double FramePeriodMs(bool inUse, double refreshRate);

// A steady cadence of frames: each frame is due one period after the one
// before, so whole-millisecond waits still average out to the period. A
// frame that comes a period late, or one asked for early, starts the cadence
// anew instead of making the next frames hurry or wait.
class FramePacer {
public:
    using Clock = std::chrono::steady_clock;

    // Marks a frame started at `frameStart`; returns when the next one is due.
    Clock::time_point NextDue(Clock::time_point frameStart, double periodMs);

    // Whole milliseconds from `now` until `due` (0 when it is due already),
    // rounded up so that a timer never wakes before it.
    static int WaitMs(Clock::time_point due, Clock::time_point now);

private:
    Clock::time_point due_{};
    bool started_ = false;
};

} // namespace ra7::editor
