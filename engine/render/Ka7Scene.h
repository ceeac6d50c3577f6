#pragma once
// The engine-wide renderer object: it draws the objects of SceneObjects in
// passes and owns the sky box's settings. Each pass walks render lists of
// SceneObjects, tests each object against the active camera's view volume and
// calls its Render; lighting is one pass per light that reaches an object.

#include "math/DotMath.h"
#include "render/LitPasses.h"
#include "scene/PointProjection.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace ra7 {

class KaGeometry;

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
    // Draw the markers of lights, sound sources and cameras (the editor
    // shows them; a rendered picture of the scene leaves them out).
    bool ShowMarkers = true;

    // Self-illumination into the first bloom texture, blurred (USE FBO only).
    void RenderBloom();
    // Sky box, static geometry and static particle systems around the camera.
    void RenderStatic();
    // Markers of sound sources, lights and cameras, then lit opaque geometry.
    void RenderOpaque();
    // Sprites and particle systems, additively blended.
    void RenderEffects();
    // Bounding shapes of every object, the one named `selected` bright red.
    void RenderBounds(std::string_view selected);
    // Transparent geometry, unlit, without depth writes.
    void RenderBlended();
    // Adds the blurred bloom image over the frame (2-D mode, USE GLSL only).
    void DrawBloom();
    // One textured quad over SCREEN WIDTH × SCREEN HEIGHT in 2-D coordinates.
    void DrawFullScreenQuad();
    PointProjection PointVisible(const Vector3& point) { return ra7::PointVisible(point); }

private:
    void drawSkyBox() const;

    LitPasses lit_; // kept between passes for its memory
};

extern std::unique_ptr<KaScene> Scene;

} // namespace ra7
