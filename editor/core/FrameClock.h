#pragma once
// The editor's frame clock: the duration of the last frame and the FPS
// figure, the mean of the per-frame rates over blocks of 25 frames.

#include <chrono>
#include <string>

namespace ra7::editor {

class FrameClock {
public:
    using Clock = std::chrono::steady_clock;

    explicit FrameClock(Clock::time_point start = Clock::now()) : last_(start) {}

    // Takes a snapshot: FrameTime becomes the milliseconds since the last one.
    void Tick(Clock::time_point now = Clock::now());

    // Milliseconds the last frame took.
    float FrameTime() const { return frameTime_; }
    // Empty for the first 24 frames, then the integer mean rate of each block of 25.
    const std::string& FpsText() const { return fpsText_; }

    static constexpr int kFramesPerFigure = 25;

private:
    Clock::time_point last_;
    float frameTime_ = 0;
    float fpsSum_ = 0;
    int fpsFrames_ = 0;
    std::string fpsText_;
};

} // namespace ra7::editor
