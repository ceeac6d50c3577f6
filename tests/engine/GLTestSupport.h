#pragma once
// Tests on a real OpenGL context: Mesa's software renderer through headless
// EGL, created once per test process and made current for every test.

#include "engine/TestSupport.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace ra7 {
class TDotContext;
class HeadlessContext;
} // namespace ra7

namespace ra7::test {

inline constexpr int kViewSize = 64;

// The process's context (kViewSize square, RGBA, depth and stencil).
TDotContext& sharedContext();
HeadlessContext& sharedHeadless();

// The repository's data/shaders folder.
std::filesystem::path sourceShaderDirectory();

// A console test with the shared context current, the capability flags
// detected from the driver with the settings of the moment (VBO, FBO, GLSL
// requested), default GL state, and the engine lists freed afterwards.
class GLTest : public ConsoleTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies data/shaders into the scratch directory.
    void installShaders();
    // Sets the settings' switches and detects the capabilities again.
    void detect(bool useVBO, bool useFBO, bool useGLSL);

    // Clears to black, an orthographic projection of [-1, 1]², identity model-view.
    void beginFrame();
    // The frame as RGBA bytes, bottom row first.
    std::vector<std::uint8_t> frame();
    // The mean colour of a square region of `frame` (x, y from the lower left).
    static std::array<double, 4> regionMean(const std::vector<std::uint8_t>& pixels, int x0, int y0, int x1,
                                            int y1);
};

} // namespace ra7::test
