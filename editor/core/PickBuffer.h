#pragma once
// The offscreen buffer the picking passes draw into: a few pixels square,
// one sample per pixel, with colour and depth. Reading a pixel of the
// view's own framebuffer is an error when it is multisampled; this one
// never is, and drawing into it leaves the view's frame untouched.

#include "core/ViewPicking.h"
#include "math/Ka7Transform.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace ra7::editor {

class PickBuffer {
public:
    PickBuffer() = default;
    // The buffer's OpenGL objects go with the context; call Release while
    // it is still current.
    ~PickBuffer() = default;
    PickBuffer(const PickBuffer&) = delete;
    PickBuffer& operator=(const PickBuffer&) = delete;

    // Deletes the buffer's OpenGL objects (needs the context current).
    void Release();
    // False when the driver has no framebuffer objects; picking then finds nothing.
    bool Available();

    // Draws `draw` into the buffer as the view (`view`, with `projection`
    // and the camera placement `eye`) would show the pixels around `pixel`,
    // and reads back the centre pixel: black where nothing was drawn. Every
    // OpenGL state it touches (bindings, viewport, matrices, switches) is
    // put back. Nothing when the buffer is not available.
    std::optional<std::array<float, 3>> ReadColour(const Viewport& view, FramebufferPixel pixel,
                                                   const Matrix4& projection, const KaTransformation& eye,
                                                   const std::function<void()>& draw);
    std::optional<std::array<std::uint8_t, 3>> ReadBytes(const Viewport& view, FramebufferPixel pixel,
                                                         const Matrix4& projection,
                                                         const KaTransformation& eye,
                                                         const std::function<void()>& draw);

private:
    bool ensure();
    void drawPass(const Viewport& view, FramebufferPixel pixel, const Matrix4& projection,
                  const KaTransformation& eye, const std::function<void()>& draw,
                  const std::function<void()>& read);

    std::uint32_t framebuffer_ = 0;
    std::uint32_t colour_ = 0;
    std::uint32_t depth_ = 0;
    bool tried_ = false;
    bool available_ = false;
};

} // namespace ra7::editor
