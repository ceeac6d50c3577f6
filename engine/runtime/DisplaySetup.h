#pragma once
// The start-up display sequence: an optional full-screen mode, the context
// request from the settings (colour, alpha, depth and stencil bits, optional
// multisampling), and the creation of the context.

#include <cstdint>

namespace ra7 {

class TDotContext;

// Throws the start-up errors "Could not set DisplayMode..." and "Could not set
// the requested pixel format..." after logging why.
void SetupDisplay(TDotContext& context);

// Changes the screen to width × height at `refresh` Hz through XRandR (X11);
// all four 0 return to the desktop mode kept from the first change. False
// when there is no X display, no such mode, or the change fails. Colour
// depth cannot change under X: 0 or the screen's own depth is accepted.
bool SetDisplayMode(std::int32_t width, std::int32_t height, std::int32_t bits, std::int32_t refresh);

} // namespace ra7
