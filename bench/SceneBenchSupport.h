#pragma once
// Scenes for the benchmarks: n objects of mixed kinds, half of them named
// alike ("box", "box_1", …), a quarter arranged in small trees.

#include "scene/Ka7SceneUnit.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace ra7::bench {

// Enters a scratch directory under the system's temporary folder (once).
void enterScratchDirectory();

std::unique_ptr<KaObjArray> buildBenchScene(std::int32_t count);

std::vector<std::int32_t> allIndexes(const KaObjArray& array);

// Bytes the allocator hands out right now (mallinfo2).
double heapMegabytes();

} // namespace ra7::bench
