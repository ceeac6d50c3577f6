#pragma once
// A plain 2-D drawing mode: orthographic projection over SCREEN WIDTH ×
// SCREEN HEIGHT (origin at the lower left), identity model-view, no depth
// test. Both matrices are saved and restored.

namespace ra7 {

void Enter2DMode();
void Leave2DMode();

} // namespace ra7
