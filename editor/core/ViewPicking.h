#pragma once
// Finding what lies under the cursor by colour: the pixel of the view's
// framebuffer the cursor stands on, a projection that draws only the few
// pixels around it into a small buffer of their own, and the colours that
// name objects in that buffer.

#include "core/ViewLayout.h"
#include "math/DotMath.h"

#include <array>
#include <cstdint>
#include <optional>

namespace ra7::editor {

// A pixel of the framebuffer, OpenGL's way: from the lower left corner.
struct FramebufferPixel {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const FramebufferPixel&) const = default;
};

// The framebuffer pixel under a point of the view widget (logical pixels
// from its top left corner, as mouse events give them): scaled by the
// device pixel ratio and turned upside down. Nothing when the point lies
// outside the viewport, which leaves room for the panels.
std::optional<FramebufferPixel> PickPixel(double widgetX, double widgetY, double devicePixelRatio,
                                          std::int32_t framebufferHeight, const Viewport& view);

// The side of the square the picking passes draw (odd, so that one pixel
// is its centre); wide enough that a marker point of 12 pixels whose centre
// is within reach of the cursor is drawn into it.
inline constexpr std::int32_t kPickRegion = 15;

// `projection` narrowed to the region × region pixels of `view` centred on
// `pixel`, mapped onto a viewport of region × region: the centre pixel of
// that viewport shows what `pixel` shows in the view.
Matrix4 PickProjection(const Viewport& view, FramebufferPixel pixel, std::int32_t region,
                       const Matrix4& projection);

// Objects are drawn in the colour of their slot + 1 (red the low byte, blue
// the high byte), so black is nothing; 16 777 215 slots fit.
std::array<std::uint8_t, 3> PickColourOf(std::int32_t slot);
std::optional<std::int32_t> SlotOfPickColour(const std::array<std::uint8_t, 3>& colour);

} // namespace ra7::editor
