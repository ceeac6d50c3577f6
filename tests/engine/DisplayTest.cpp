#include "engine/GLTestSupport.h"

#include "math/DotMath.h"
#include "render/RenderTargets.h"
#include "runtime/Capabilities.h"
#include "runtime/DisplaySetup.h"
#include "runtime/DotWindow.h"
#include "runtime/Errors.h"
#include "runtime/GLChecks.h"
#include "runtime/HeadlessContext.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "runtime/Stopwatch.h"

#include <epoxy/gl.h>

#include <gmock/gmock.h>

#include <cstdlib>
#include <thread>

namespace ra7 {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// ------------------------------------------------------- attribute arrays

TEST(DotContextTest, SettingAKnownAttributeKeepsTheLengthANewOneGrowsItByOne)
{
    TDotContext context(std::make_unique<HeadlessContext>(8, 8));
    const std::size_t length = context.IntAttribs().size();
    context.SetIntAttrib(kDotDepthBits, 16);
    EXPECT_EQ(context.IntAttribs().size(), length);
    EXPECT_EQ(context.GetIntAttrib(5), (DotIntAttrib{kDotDepthBits, 16}));
    context.SetIntAttrib(kDotSamples, 4);
    EXPECT_EQ(context.IntAttribs().size(), length + 1);
    EXPECT_EQ(context.GetIntAttrib(static_cast<std::int32_t>(length) - 1), (DotIntAttrib{kDotSamples, 4}));
    EXPECT_EQ(context.IntAttribs().back(), (DotIntAttrib{0, 0}));

    context.SetFloatAttrib(1.5f, 2);
    context.SetFloatAttrib(1.5f, 3);
    EXPECT_THAT(context.FloatAttribs(), ElementsAre(DotFloatAttrib{1.5f, 3}, DotFloatAttrib{0, 0}));
    EXPECT_THROW(context.GetIntAttrib(100), Error);
    EXPECT_THROW(context.GetFloatAttrib(-1), Error);
}

TEST(DotContextTest, BufferBitsBecomeTheRequest)
{
    TDotContext context(std::make_unique<HeadlessContext>(8, 8));
    context.SetBufferBits(32, 8, 16, 0);
    const ContextRequest request = context.Request();
    EXPECT_TRUE(request.fullAcceleration);
    EXPECT_TRUE(request.doubleBuffer);
    EXPECT_EQ(request.colorBits, 32);
    EXPECT_EQ(request.alphaBits, 8);
    EXPECT_EQ(request.depthBits, 16);
    EXPECT_EQ(request.stencilBits, 0);
    EXPECT_EQ(request.samples, 0);
}

TEST(ExtensionWordTest, OnlyWholeBlankBoundedWordsCount)
{
    const std::string list = "GL_ARB_multitexture_extra GL_EXT_foo GL_ARB_multitexture2 ";
    EXPECT_FALSE(ContainsExtensionWord(list, "GL_ARB_multitexture"));
    EXPECT_TRUE(ContainsExtensionWord(list, "GL_EXT_foo"));
    EXPECT_TRUE(ContainsExtensionWord("GL_A GL_B", "GL_B")) << "the end of the text bounds a word";
    EXPECT_TRUE(ContainsExtensionWord("GL_A GL_B", "GL_A"));
    EXPECT_FALSE(ContainsExtensionWord("XGL_A", "GL_A"));
    EXPECT_FALSE(ContainsExtensionWord("GL_A", ""));
}

TEST(ExtensionWordTest, AnExtensionWhoseEntryPointsDoNotResolveIsAbsent)
{
    const ExtensionSet resolving("GL_ARB_multitexture GL_ARB_vertex_buffer_object ",
                                 [](const char*) { return true; });
    const ExtensionSet missingEntry("GL_ARB_multitexture GL_ARB_vertex_buffer_object ",
                                    [](const char* name) { return std::string(name) != "glBufferDataARB"; });
    EXPECT_TRUE(resolving.Has("GL_ARB_vertex_buffer_object"));
    EXPECT_FALSE(missingEntry.Has("GL_ARB_vertex_buffer_object"));
    EXPECT_TRUE(missingEntry.Has("GL_ARB_multitexture"));
    EXPECT_FALSE(resolving.Without("GL_ARB_multitexture").Has("GL_ARB_multitexture"));
    EXPECT_TRUE(resolving.Without("GL_ARB_multitexture").Has("GL_ARB_vertex_buffer_object"));
}

TEST(StopwatchTest, ElapsedMillisecondsFollowTheSteadyClock)
{
    ResetTimer();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const float first = ElapsedMs();
    EXPECT_GE(first, 20.0f);
    EXPECT_GE(ElapsedMs(), first);
    ResetTimer();
    EXPECT_LT(ElapsedMs(), first);
}

// ------------------------------------------------------------ on a driver

class DisplayTest : public test::GLTest {
protected:
    std::vector<std::string> logSince(std::size_t start)
    {
        return {LogLines().begin() + static_cast<std::ptrdiff_t>(start), LogLines().end()};
    }
    void TearDown() override
    {
        if (display_)
            ::setenv("DISPLAY", display_->c_str(), 1);
        GLTest::TearDown();
    }
    void withoutXDisplay()
    {
        if (const char* display = std::getenv("DISPLAY"))
            display_ = display;
        ::unsetenv("DISPLAY");
    }

private:
    std::optional<std::string> display_;
};

TEST_F(DisplayTest, DetectionOnTheDriverLogsEachFindingInOrder)
{
    Settings.UseAnisotropy = true;
    Settings.AnisotropyLevel = 2;
    Settings.UseBloom = true;
    Settings.UseBloomBrightPass = true;
    const std::size_t start = LogLines().size();
    detect(true, true, true);
    GLfloat maximum = 0;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    EXPECT_EQ(Settings.AnisotropyLevel, static_cast<std::int32_t>(maximum));
    EXPECT_GT(Settings.AnisotropyLevel, 2);
    EXPECT_TRUE(Settings.UseVBO && Settings.UseFBO && Settings.UseGLSL && Settings.UseBloom &&
                Settings.UseBloomBrightPass);
    EXPECT_TRUE(HasMultitexture && HasVertexProgram && HasFragmentProgram && HasGenerateMipmap);
    std::vector<std::string> expected = {"Обнаружена поддержка анизотропной фильтрации",
                                         "- Максимальная степень анизотропии: " +
                                             std::to_string(Settings.AnisotropyLevel),
                                         "Обнаружена поддержка VBO",
                                         "Обнаружена поддержка FBO",
                                         "Обнаружена поддержка GLSL",
                                         "Обнаружена поддержка GL_SGIS_generate_mipmap",
                                         "Обнаружена поддержка мультитекстурирования",
                                         "Обнаружена поддержка GL_ARB_vertex_program",
                                         "Обнаружена поддержка GL_ARB_fragment_program"};
    for (std::string& line : expected)
        line = FormatLogLine(line);
    EXPECT_THAT(logSince(start), ElementsAreArray(expected));
}

TEST_F(DisplayTest, WithoutGlslBloomAndTheBrightPassAreOff)
{
    Settings.UseBloom = true;
    Settings.UseBloomBrightPass = true;
    Settings.BloomTextureSize = 512;
    detect(true, true, false);
    EXPECT_FALSE(Settings.UseBloom);
    EXPECT_FALSE(Settings.UseBloomBrightPass);

    Settings.UseBloom = true;
    Settings.UseBloomBrightPass = true;
    Settings.UseGLSL = true;
    DetectCapabilities(test::sharedContext(),
                       ExtensionSet::FromContext(test::sharedContext()).Without("GL_ARB_vertex_shader"));
    EXPECT_FALSE(Settings.UseGLSL);
    EXPECT_FALSE(Settings.UseBloom);
    EXPECT_FALSE(Settings.UseBloomBrightPass);
}

TEST_F(DisplayTest, MissingOptionalExtensionsOnlyClearTheirSwitches)
{
    Settings.UseVBO = Settings.UseFBO = Settings.UseAnisotropy = true;
    const ExtensionSet reduced = ExtensionSet::FromContext(test::sharedContext())
                                     .Without("GL_ARB_vertex_buffer_object")
                                     .Without("GL_EXT_framebuffer_object")
                                     .Without("GL_EXT_texture_filter_anisotropic")
                                     .Without("GL_SGIS_generate_mipmap");
    const std::size_t start = LogLines().size();
    DetectCapabilities(test::sharedContext(), reduced);
    EXPECT_FALSE(Settings.UseVBO || Settings.UseFBO || Settings.UseAnisotropy || HasGenerateMipmap);
    EXPECT_EQ(logSince(start).size(), 3u);
}

TEST_F(DisplayTest, RequiredExtensionsAreCheckedAfterEveryFindingIsLogged)
{
    const ExtensionSet all = ExtensionSet::FromContext(test::sharedContext());
    const std::size_t start = LogLines().size();
    try {
        DetectCapabilities(test::sharedContext(), all.Without("GL_ARB_fragment_program"));
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "This program requires GL_ARB_fragment_program!");
    }
    EXPECT_EQ(LogLines().back(), FormatLogLine("Обнаружена поддержка GL_ARB_vertex_program"));
    EXPECT_EQ(logSince(start).size(), 3u);
    EXPECT_THROW(
        {
            try {
                DetectCapabilities(test::sharedContext(),
                                   all.Without("GL_ARB_vertex_program").Without("GL_ARB_multitexture"));
            } catch (const Error& error) {
                EXPECT_STREQ(error.what(), "This program requires GL_ARB_multitexture!");
                throw;
            }
        },
        Error);
    try {
        DetectCapabilities(test::sharedContext(), all.Without("GL_ARB_vertex_program"));
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "This program requires GL_ARB_vertex_program!");
    }
}

TEST_F(DisplayTest, VsyncOffWithoutSwapControlLogsNothing)
{
    Settings.VSync = false;
    const std::size_t start = LogLines().size();
    detect(false, false, false);
    for (const std::string& line : logSince(start))
        EXPECT_EQ(line.find("VSYNC"), std::string::npos);
}

TEST_F(DisplayTest, SetupWithAntialiasingAsksForSampleBuffersAndCreatesTheContext)
{
    Settings.AntialiasingLevel = 4;
    Settings.ScreenHeight = 768; // width 0: the display mode is left alone
    const std::size_t start = LogLines().size();
    {
        TDotContext context(std::make_unique<HeadlessContext>(16, 16));
        SetupDisplay(context);
        const ContextRequest request = context.Request();
        EXPECT_EQ(request.sampleBuffers, 1);
        EXPECT_EQ(request.samples, 4);
        EXPECT_EQ(request.alphaBits, Settings.ScreenAlpha);
        EXPECT_TRUE(context.HasContext());
        EXPECT_TRUE(HasMultisample);
        GLint samples = 0;
        glGetIntegerv(GL_SAMPLES, &samples);
        EXPECT_EQ(samples, 4);
        EXPECT_THAT(logSince(start), ElementsAre(FormatLogLine("Используем 4 кратное FSAA"),
                                                 FormatLogLine("* Дисплей настроен...")));
        // The multisampled frame is resolved by the swap.
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        context.SwapBuffers();
        auto& headless = static_cast<HeadlessContext&>(context.Platform());
        const auto pixels = headless.ReadPixels();
        EXPECT_EQ(pixels[0], 255);
        EXPECT_EQ(pixels[1], 0);
        EXPECT_EQ(headless.SwapCount(), 1);
    }
    test::sharedContext().MakeCurrent();
}

TEST_F(DisplayTest, SetupWithoutAntialiasingDoesNotAskForSamples)
{
    Settings.AntialiasingLevel = 1;
    TDotContext context(std::make_unique<HeadlessContext>(16, 16));
    SetupDisplay(context);
    EXPECT_EQ(context.Request().samples, 0);
    EXPECT_FALSE(HasMultisample);
    // The context made from the request has the depth buffer the settings ask for, and one sample.
    GLint depth = 0, samples = -1;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_GE(depth, Settings.ScreenDepth);
    EXPECT_EQ(samples, 0);
    test::sharedContext().MakeCurrent();
}

TEST_F(DisplayTest, FailedDisplayModeLogsTheRequestAndStopsStartUp)
{
    withoutXDisplay();
    Settings.ScreenWidth = 1024;
    Settings.ScreenHeight = 768;
    Settings.ScreenRefresh = 60;
    Settings.ScreenColor = 32;
    TDotContext context(std::make_unique<HeadlessContext>(16, 16));
    try {
        SetupDisplay(context);
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Could not set DisplayMode\r\nPlease try to use different settings.");
    }
    EXPECT_EQ(LogLines().back(),
              FormatLogLine("Не удалось установить разрешение 1024x768 с частотой 60 и 32 цветный режим"));
    EXPECT_FALSE(context.HasContext());

    Settings.ScreenRefresh = -1;
    EXPECT_THROW(SetupDisplay(context), Error);
    EXPECT_FALSE(SetDisplayMode(1024, 768, 32, 60));
}

TEST_F(DisplayTest, ContextThatCannotBeCreatedStopsStartUp)
{
    TDotContext context(std::make_unique<HeadlessContext>(0, 0));
    try {
        SetupDisplay(context);
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(),
                     "Could not set the requested pixel format.\r\nPlease try to use different settings.");
    }
    EXPECT_EQ(LogLines().back(), FormatLogLine("Не могу инициализировать OpenGL!"));
}

TEST_F(DisplayTest, GlErrorIsReportedWithGluTextOneCodePerCheck)
{
    EXPECT_TRUE(CheckGLError());
    glEnable(0x1234);
    glMatrixMode(0x5678);
    try {
        CheckGLError();
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Ошибка OpenGL: invalid enumerant");
    }
    EXPECT_TRUE(CheckGLError()) << "Mesa keeps only the first error";
}

TEST_F(DisplayTest, FramebufferCheckReportsAnIncompleteTarget)
{
    EXPECT_NO_THROW(CheckFramebuffer());
    GLuint framebuffer = 0;
    glGenFramebuffersEXT(1, &framebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    try {
        CheckFramebuffer();
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Missing attachment");
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, test::sharedHeadless().windowFramebuffer());
    glDeleteFramebuffersEXT(1, &framebuffer);
}

TEST_F(DisplayTest, BloomTargetsAreCreatedAtTheBloomSizeAndDeleted)
{
    detect(false, true, false);
    Settings.BloomTextureSize = 128;
    CreateBloomTargets();
    for (GLuint texture : BloomTextures) {
        ASSERT_TRUE(glIsTexture(texture));
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint width = 0;
        GLint wrap = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(width, 128);
        EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
    }
    EXPECT_TRUE(glIsRenderbufferEXT(BloomDepthBuffer));
    GLint depthWidth = 0;
    glGetRenderbufferParameterivEXT(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_WIDTH_EXT, &depthWidth);
    EXPECT_EQ(depthWidth, 128);
    const auto textures = BloomTextures;
    DeleteBloomTargets();
    EXPECT_FALSE(glIsTexture(textures[0]));
    EXPECT_EQ(BloomFramebuffer, 0u);
    EXPECT_TRUE(CheckGLError());
}

TEST_F(DisplayTest, ResetProjectionCoversTheWindowWithTheEnginePerspective)
{
    Settings.ScreenWidth = 64;
    Settings.ScreenHeight = 32;
    glMatrixMode(GL_TEXTURE);
    ResetProjection();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_THAT(viewport, ElementsAre(0, 0, 64, 32));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    Matrix4 projection{};
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    const Matrix4 expected = PerspectiveMatrix(45, 2.0f, 0.1f, 1000.0f);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_NEAR(projection[i], expected[i], 1e-5) << i;
}

TEST_F(DisplayTest, GlinfoLogsTheDriverDescriptionAndCountsItsExtensions)
{
    const std::size_t start = LogLines().size();
    ExecuteCommand("glinfo");
    const auto log = logSince(start);
    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const std::string extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const auto count = std::count(extensions.begin(), extensions.end(), ' ');
    EXPECT_EQ(log[1], FormatLogLine("Версия GL: " + version));
    EXPECT_EQ(log[2], FormatLogLine("Версия GLU: 1.3"));
    EXPECT_EQ(log[5], FormatLogLine("* Расширения OpenGL: "));
    EXPECT_EQ(log[6], FormatLogLine("GL_ARB_multisample"));
    EXPECT_EQ(log.back(), FormatLogLine("Всего расширений : " + std::to_string(count)));
}

TEST(ElapsedTextTest, MicrosecondsBecomeSecondsOrMillisecondsByTheirDigits)
{
    EXPECT_EQ(ElapsedText(1234567), "1.234567 секунды");
    EXPECT_EQ(ElapsedText(1000000), "1.000000 секунды");
    EXPECT_EQ(ElapsedText(999999), "999.999 милисекунд");
    EXPECT_EQ(ElapsedText(12345), "12.345 милисекунд");
    EXPECT_EQ(ElapsedText(1000), "1.000 милисекунд");
    EXPECT_EQ(ElapsedText(999), "999");
    EXPECT_EQ(ElapsedText(0), "0");
}

} // namespace
} // namespace ra7
