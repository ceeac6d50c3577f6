#pragma once
// Where the 3-D view lies in the main window's client area, by the panels:
// the hierarchy panel on the left (or only its toggle strip), the tool panel
// of 200 pixels on the right and the animation panel of 100 pixels at the
// bottom. Coordinates are OpenGL's: y counts from the bottom edge.

#include "math/DotMath.h"

#include <cstdint>

namespace ra7::editor {

inline constexpr std::int32_t kLeftEdgeWithTree = 181;  // hierarchy panel shown
inline constexpr std::int32_t kLeftEdgeWithoutTree = 7; // only its toggle strip
inline constexpr std::int32_t kToolPanelWidth = 200;
inline constexpr std::int32_t kAnimPanelHeight = 100;
inline constexpr std::int32_t kMinClientWidth = 640;
inline constexpr std::int32_t kMinClientHeight = 480;

struct Viewport {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const Viewport&) const = default;
};

// The left edge of the view while the panels are shown.
std::int32_t LeftEdge(bool treeVisible);

// The view for a client area: between the panels, or the whole area without
// them. Never narrower or lower than one pixel.
Viewport ViewportFor(std::int32_t clientWidth, std::int32_t clientHeight, bool showPanels, bool treeVisible);

// The perspective projection of the view: FieldOfView, the view's aspect,
// NearPlane and FarPlane.
Matrix4 ProjectionFor(const Viewport& view);

// The resize handler's OpenGL side: SCREEN WIDTH and SCREEN HEIGHT take the
// client size, the viewport and the perspective projection (FieldOfView,
// aspect of the view, NearPlane, FarPlane) are loaded, and the model-view
// matrix is selected again. Needs a current context.
void ApplyViewport(std::int32_t clientWidth, std::int32_t clientHeight, const Viewport& view);

} // namespace ra7::editor
