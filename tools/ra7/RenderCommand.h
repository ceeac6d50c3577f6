#pragma once
// `ra7 render SCENE.kgf -o OUT.png`: the engine started headless in the
// working directory, the scene loaded (its command lines run), a number of
// frames updated and drawn as the editor draws them, and the last frame
// written as a PNG image.

#include "math/DotMath.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ra7 {

class KaObjArray;

// The editor's default light.
inline constexpr const char* kDefaultLightName = "lig1";
inline constexpr Vector3 kDefaultLightPosition{10, 10, 10};

struct RenderOptions {
    std::string scene;
    std::string output; // .png or .jpg/.jpeg
    std::int32_t width = 640;
    std::int32_t height = 480;
    std::string camera;      // empty: the scene's active camera, else its first, else a default one
    std::int32_t frames = 1; // frames updated and drawn; the last one is written
    float simulatedMs = 0;   // > 0: as many frames of frameMs as fill this time
    float frameMs = 40;      // FrameTime of every frame
    bool bloom = false;      // needs USE FBO and USE GLSL in config.txt
    bool culling = true;     // USE FRUSTUM CULLING for the run
    bool grid = false;
    bool axes = false;
    bool markers = false; // light, sound and camera markers
    std::string flares;   // a .kls lens-flare set loaded before drawing (sprites name its flares)
    bool quiet = false;
};

// The number of frames the options ask for (at least 1).
std::int32_t FrameCount(const RenderOptions& options);

// A scene without any light is drawn as the editor shows it: lit by its
// default light "lig1" (or the first free name) at (10, 10, 10), which is
// added here. Returns the line that says so, or empty when the scene has a
// light of its own.
std::string AddDefaultLightWhenUnlit(KaObjArray& scene);

// Returns 0, 1 with the reason on standard error, or 2 for a size out of range.
int RunRender(const RenderOptions& options);

} // namespace ra7
