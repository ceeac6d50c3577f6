#pragma once
// `ra7 render SCENE.kgf -o OUT.png`: the engine started headless in the
// working directory, the scene loaded (its command lines run), a number of
// frames updated and drawn as the editor draws them, and the last frame
// written as a PNG image.

#include <cstdint>
#include <string>
#include <vector>

namespace ra7 {

struct RenderOptions {
    std::string scene;
    std::string output;
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

// Writes RGBA rows given bottom row first (as OpenGL reads them) as a PNG
// file through DevIL, replacing `fileName` only when the image is complete.
void WritePng(const std::string& fileName, std::int32_t width, std::int32_t height,
              const std::vector<std::uint8_t>& bottomUpRgba);

// Returns 0, or 1 with the reason on standard error.
int RunRender(const RenderOptions& options);

} // namespace ra7
