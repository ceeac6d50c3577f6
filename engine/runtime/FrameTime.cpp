#include "runtime/FrameTime.h"

namespace ra7 {

float FrameTime = 0.0f;

} // namespace ra7
