#include "core/FrameClock.h"

#include <algorithm>
#include <cmath>

namespace ra7::editor {

void FrameClock::Tick(Clock::time_point now)
{
    frameTime_ = std::chrono::duration<float, std::milli>(now - last_).count();
    last_ = now;
    // A frame measured as 0 ms (a coarse clock) would add an infinite rate;
    // it counts as one microsecond instead.
    fpsSum_ += 1000.0f / std::max(frameTime_, 0.001f);
    if (++fpsFrames_ == kFramesPerFigure) {
        fpsFrames_ = 0;
        fpsText_ = std::to_string(static_cast<long long>(std::floor(fpsSum_ / kFramesPerFigure)));
        fpsSum_ = 0;
    }
}

} // namespace ra7::editor
