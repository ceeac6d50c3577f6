#include "core/ViewPicking.h"

#include <cmath>

namespace ra7::editor {

std::optional<FramebufferPixel> PickPixel(double widgetX, double widgetY, double devicePixelRatio,
                                          std::int32_t framebufferHeight, const Viewport& view)
{
    if (!(devicePixelRatio > 0) || !std::isfinite(widgetX) || !std::isfinite(widgetY))
        return std::nullopt;
    const double column = std::floor(widgetX * devicePixelRatio);
    const double rowFromTop = std::floor(widgetY * devicePixelRatio);
    if (column < view.x || column >= static_cast<double>(view.x) + view.width)
        return std::nullopt;
    const double row = static_cast<double>(framebufferHeight) - 1 - rowFromTop;
    if (row < view.y || row >= static_cast<double>(view.y) + view.height)
        return std::nullopt;
    return FramebufferPixel{static_cast<std::int32_t>(column), static_cast<std::int32_t>(row)};
}

Matrix4 PickProjection(const Viewport& view, FramebufferPixel pixel, std::int32_t region,
                       const Matrix4& projection)
{
    // As gluPickMatrix: scale the view up so that `region` pixels fill the
    // whole range of normalised coordinates, and move the pixel's centre to 0.
    const auto size = static_cast<float>(region);
    const float centreX = static_cast<float>(pixel.x) + 0.5f - static_cast<float>(view.x);
    const float centreY = static_cast<float>(pixel.y) + 0.5f - static_cast<float>(view.y);
    Matrix4 pick{};
    pick[0] = static_cast<float>(view.width) / size;
    pick[5] = static_cast<float>(view.height) / size;
    pick[10] = 1;
    pick[12] = (static_cast<float>(view.width) - 2 * centreX) / size;
    pick[13] = (static_cast<float>(view.height) - 2 * centreY) / size;
    pick[15] = 1;
    return MatrixMultiply4(projection, pick);
}

std::array<std::uint8_t, 3> PickColourOf(std::int32_t slot)
{
    const auto id = static_cast<std::uint32_t>(slot) + 1;
    return {static_cast<std::uint8_t>(id & 0xFF), static_cast<std::uint8_t>((id >> 8) & 0xFF),
            static_cast<std::uint8_t>((id >> 16) & 0xFF)};
}

std::optional<std::int32_t> SlotOfPickColour(const std::array<std::uint8_t, 3>& colour)
{
    const std::uint32_t id = colour[0] | (static_cast<std::uint32_t>(colour[1]) << 8) |
                             (static_cast<std::uint32_t>(colour[2]) << 16);
    if (id == 0)
        return std::nullopt;
    return static_cast<std::int32_t>(id - 1);
}

} // namespace ra7::editor
