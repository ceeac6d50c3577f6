#pragma once
// The frame clock's result shared by the whole engine: the milliseconds the
// last frame took. Fades, particles and scripts scale their steps with it.

namespace ra7 {

extern float FrameTime;

} // namespace ra7
