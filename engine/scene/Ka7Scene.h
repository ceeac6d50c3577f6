#pragma once
// The engine-wide renderer object: it draws the objects of SceneObjects in
// passes and owns the sky box's settings.

#include <cstdint>
#include <memory>

namespace ra7 {

class KaScene {
public:
    bool SkyBox = false; // draw the sky box in the static pass
    // OpenGL texture names of the six faces; 0 draws a face untextured.
    std::uint32_t SkyFront = 0; // z = +1
    std::uint32_t SkyBack = 0;  // z = −1
    std::uint32_t SkyRight = 0; // x = −1
    std::uint32_t SkyLeft = 0;  // x = +1
    std::uint32_t SkyUp = 0;    // y = +1
    std::uint32_t SkyDown = 0;  // y = −1
};

extern std::unique_ptr<KaScene> Scene;

} // namespace ra7
