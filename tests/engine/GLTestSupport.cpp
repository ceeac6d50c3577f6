#include "engine/GLTestSupport.h"

#include "resources/DrawState.h"
#include "resources/Ka7Material.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Capabilities.h"
#include "runtime/DotWindow.h"
#include "runtime/HeadlessContext.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "runtime/LeakChecker.h"

#include <epoxy/gl.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace fs = std::filesystem;

namespace ra7::test {

namespace {

struct SharedContext {
    HeadlessContext* headless = nullptr;
    std::unique_ptr<TDotContext> context;
};

SharedContext& shared()
{
    static SharedContext instance = [] {
        ::setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        SharedContext made;
        auto headless = std::make_unique<HeadlessContext>(kViewSize, kViewSize);
        made.headless = headless.get();
        made.context = std::make_unique<TDotContext>(std::move(headless));
        made.context->SetBufferBits(24, 8, 24, 8);
        if (!made.context->InitGL())
            throw std::runtime_error("cannot create a headless OpenGL context");
        return made;
    }();
    return instance;
}

} // namespace

TDotContext& sharedContext()
{
    return *shared().context;
}

HeadlessContext& sharedHeadless()
{
    return *shared().headless;
}

fs::path sourceShaderDirectory()
{
    return fs::path(RA7_SOURCE_DIR) / "data" / "shaders";
}

void GLTest::SetUp()
{
    ConsoleTest::SetUp();
    sharedContext().MakeCurrent();
    ResetDrawState();
    ResetCapabilities();
    detect(false, false, false);
    while (glGetError() != GL_NO_ERROR) {
    }
}

void GLTest::TearDown()
{
    sharedContext().MakeCurrent();
    Meshes.reset();
    Materials.reset();
    Textures.reset();
    Shaders.reset();
    DefaultMaterial.reset();
    SetShaderSceneSource(nullptr);
    glUseProgramObjectARB(0);
    glDisable(GL_VERTEX_PROGRAM_ARB);
    glDisable(GL_FRAGMENT_PROGRAM_ARB);
    glBindFramebuffer(GL_FRAMEBUFFER, sharedHeadless().windowFramebuffer());
    glFinish();
    ConsoleTest::TearDown();
}

void GLTest::installShaders()
{
    fs::create_directories("data/shaders");
    for (const auto& entry : fs::directory_iterator(sourceShaderDirectory()))
        fs::copy_file(entry.path(), fs::path("data/shaders") / entry.path().filename(),
                      fs::copy_options::overwrite_existing);
}

void GLTest::detect(bool useVBO, bool useFBO, bool useGLSL)
{
    Settings.UseVBO = useVBO;
    Settings.UseFBO = useFBO;
    Settings.UseGLSL = useGLSL;
    DetectCapabilities(sharedContext());
}

void GLTest::beginFrame()
{
    glBindFramebuffer(GL_FRAMEBUFFER, sharedHeadless().windowFramebuffer());
    glViewport(0, 0, kViewSize, kViewSize);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
}

std::vector<std::uint8_t> GLTest::frame()
{
    sharedContext().SwapBuffers();
    return sharedHeadless().ReadPixels();
}

std::array<double, 4> GLTest::regionMean(const std::vector<std::uint8_t>& pixels, int x0, int y0, int x1,
                                         int y1)
{
    std::array<double, 4> sum{};
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const std::size_t at =
                (static_cast<std::size_t>(y) * kViewSize + static_cast<std::size_t>(x)) * 4;
            for (std::size_t c = 0; c < 4; ++c)
                sum[c] += pixels[at + c];
            ++count;
        }
    for (double& value : sum)
        value /= count;
    return sum;
}

} // namespace ra7::test

RA7_LEAK_CHECKER_HOOKS()
