#include "scene/Ka7Scene.h"

namespace ra7 {

std::unique_ptr<KaScene> Scene;

} // namespace ra7
