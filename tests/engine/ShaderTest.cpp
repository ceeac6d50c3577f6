#include "engine/GLTestSupport.h"

#include "resources/DotShaders.h"
#include "resources/Ka7Shaders.h"
#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"

#include <epoxy/gl.h>

#include <gmock/gmock.h>

namespace ra7 {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class ShaderTest : public test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        installShaders();
    }

    static std::vector<std::string> names()
    {
        std::vector<std::string> result;
        for (std::int32_t i = 0; i < Shaders->Count(); ++i)
            result.push_back(Shaders->Get(i).Name);
        return result;
    }
};

const std::vector<std::string> kArbNames = {"phongF",    "phongFnotTex", "phongV",         "bumpF_notG",
                                            "bumpF",     "bumpV",        "parallaxF_notG", "parallaxF",
                                            "parallaxV", "billboard",    "parsystem"};

TEST_F(ShaderTest, StandardSetWithGlslHasThirteenProgramsInTableOrderAndLogsEachStep)
{
    detect(false, false, true);
    ASSERT_TRUE(Settings.UseGLSL);
    Shaders = std::make_unique<KaShaderClass>();
    std::vector<std::string> expected = kArbNames;
    expected.push_back("blur");
    expected.push_back("bright_pass");
    EXPECT_EQ(names(), expected);

    std::vector<std::string> expectedLog;
    for (const std::string& name : kArbNames)
        expectedLog.push_back(FormatLogLine("Добавляем шейдер " + name + "..."));
    expectedLog.push_back(FormatLogLine("Добавляем шейдеры GLSL..."));
    expectedLog.push_back(FormatLogLine("Добавляем шейдер blur..."));
    expectedLog.push_back(FormatLogLine("Добавляем шейдер bright_pass..."));
    const auto& log = LogLines();
    ASSERT_GE(log.size(), expectedLog.size());
    EXPECT_THAT(
        std::vector<std::string>(log.end() - static_cast<std::ptrdiff_t>(expectedLog.size()), log.end()),
        ElementsAreArray(expectedLog));

    KaShader* blur = Shaders->Find("blur");
    ASSERT_NE(blur, nullptr);
    EXPECT_EQ(blur->ShaderKind(), KaShader::Glsl);
    ASSERT_NE(blur->FindUniform("blurimage"), nullptr);
    ASSERT_NE(blur->FindUniform("blur_offset"), nullptr);
    EXPECT_EQ(blur->FindUniform("brightimage"), nullptr);
    EXPECT_NE(Shaders->Find("bright_pass")->FindUniform("brightimage"), nullptr);
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0) << "no program stays current after building the set";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShaderTest, WithoutGlslTheSetHoldsExactlyTheElevenArbPrograms)
{
    Shaders = std::make_unique<KaShaderClass>();
    EXPECT_EQ(names(), kArbNames);
    EXPECT_EQ(Shaders->Find("blur"), nullptr);
    EXPECT_EQ(Shaders->Find("phongf"), nullptr) << "lookup is case-sensitive";
    EXPECT_EQ(Shaders->Find("phongF"), &Shaders->Get(0));
    EXPECT_EQ(Shaders->Get(2).ShaderKind(), KaShader::VertexProgram);
    EXPECT_EQ(Shaders->Get(0).ShaderKind(), KaShader::FragmentProgram);
    EXPECT_THROW(Shaders->Get(11), Error);
}

TEST_F(ShaderTest, GlslShaderAskedForWithoutGlslIsInactive)
{
    KaShader shader(KaShader::Glsl);
    EXPECT_EQ(shader.ShaderKind(), KaShader::Inactive);
    shader.Enable();
    shader.Disable();
    EXPECT_THROW(shader.AddUniform("x"), Error);
}

TEST_F(ShaderTest, UniformsAreGlslOnly)
{
    Shaders = std::make_unique<KaShaderClass>();
    try {
        Shaders->Find("phongV")->AddUniform("anything");
        FAIL() << "AddUniform on an ARB program";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Uniform is GLSL!");
    }
    EXPECT_THROW(Shaders->Find("phongF")->FindUniform("x"), Error);
}

TEST_F(ShaderTest, EnablingAndDisablingParsystemLeavesBlendingOffAndDepthWritesOn)
{
    Shaders = std::make_unique<KaShaderClass>();
    KaShader* parsystem = Shaders->Find("parsystem");
    parsystem->Enable();
    GLboolean depthWrites = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_FALSE);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_PROGRAM_ARB));
    parsystem->Disable();
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_PROGRAM_ARB));
}

TEST_F(ShaderTest, ArbProgramErrorNamesTheFileWithoutFolderAndTheDriverPosition)
{
    // "MOVE" is not an instruction; it starts at character 11.
    test::writeFile("data/shaders/fp_phong.txt", "!!ARBfp1.0\nMOVE result.color, fragment.color;\nEND\n");
    try {
        Shaders = std::make_unique<KaShaderClass>();
        FAIL() << "a broken program was accepted";
    } catch (const Error& error) {
        const std::string message = error.what();
        EXPECT_THAT(message, StartsWith("Shader program \"fp_phong.txt\" contains errors:\n\n"));
        GLint position = -1;
        glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &position);
        EXPECT_THAT(message, ::testing::EndsWith("\n\n (pos " + std::to_string(position) + ")"));
        EXPECT_GT(position, 0);
        EXPECT_THAT(message, HasSubstr("line 2")) << message;
    }
    EXPECT_EQ(Shaders, nullptr);
}

TEST_F(ShaderTest, GlslCompileErrorNamesTheFileAndCarriesTheLog)
{
    detect(false, false, true);
    test::writeFile("data/shaders/f_bright.glsl", "void main() { gl_FragColor = vec4(1.0) }\n");
    try {
        Shaders = std::make_unique<KaShaderClass>();
        FAIL() << "a broken shader was accepted";
    } catch (const Error& error) {
        const std::string message = error.what();
        EXPECT_THAT(message, StartsWith("data\\shaders\\f_bright.glsl contains errors!\n"));
        EXPECT_GT(message.size(), std::string("data\\shaders\\f_bright.glsl contains errors!\n").size());
    }
}

TEST_F(ShaderTest, MissingProgramFileStopsWithAFileError)
{
    std::filesystem::remove("data/shaders/vp_bump.txt");
    try {
        Shaders = std::make_unique<KaShaderClass>();
        FAIL();
    } catch (const FileError& error) {
        EXPECT_EQ(error.fileName(), "data\\shaders\\vp_bump.txt");
    }
}

// Runs a GLSL program of the set over a full-window quad textured with a
// row of kViewSize RGB texels repeated upwards.
void postProcess(KaShader& shader, const std::vector<std::uint8_t>& row, float offset, float spread)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    std::vector<std::uint8_t> texels;
    for (int y = 0; y < test::kViewSize; ++y)
        texels.insert(texels.end(), row.begin(), row.end());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, test::kViewSize, test::kViewSize, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    shader.Enable();
    if (KaUniform* uniform = shader.FindUniform("blur_offset"))
        glUniform3fARB(uniform->Location, offset, 0, spread);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 0);
    glVertex2f(1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(-1, 1);
    glEnd();
    shader.Disable();
    glDeleteTextures(1, &texture);
}

class PostProcessTest : public ShaderTest {
protected:
    std::vector<std::uint8_t> run(const char* name, const std::vector<std::uint8_t>& row, float offset = 0,
                                  float spread = 0)
    {
        detect(false, true, true);
        Shaders = std::make_unique<KaShaderClass>();
        beginFrame();
        postProcess(*Shaders->Find(name), row, offset, spread);
        return frame();
    }
    static double red(const std::vector<std::uint8_t>& pixels, int x)
    {
        return regionMean(pixels, x, 30, x + 1, 34)[0];
    }
};

TEST_F(PostProcessTest, BrightPassKeepsOnlyWhatIsBrighterThanTheThreshold)
{
    std::vector<std::uint8_t> row;
    for (int x = 0; x < test::kViewSize; ++x)
        for (int c = 0; c < 3; ++c)
            row.push_back(x < test::kViewSize / 2 ? 100 : 255);
    const auto pixels = run("bright_pass", row);
    EXPECT_EQ(red(pixels, 10), 0.0);
    EXPECT_EQ(red(pixels, 50), 255.0);
}

TEST_F(PostProcessTest, BlurSpreadsABrightColumnAlongTheOffsetKeepingItsBrightness)
{
    std::vector<std::uint8_t> row(test::kViewSize * 3, 0);
    row[32 * 3] = 255;
    // One texel per step, spread 2: weights exp(-i² / 8) over nine taps.
    const auto pixels = run("blur", row, 1.0f / test::kViewSize, 2.0f);
    double total = 0;
    for (int x = 0; x < test::kViewSize; ++x)
        total += red(pixels, x);
    EXPECT_NEAR(red(pixels, 32), 255 / 4.898, 2);
    EXPECT_NEAR(red(pixels, 33), 255 * 0.8825 / 4.898, 2);
    EXPECT_NEAR(red(pixels, 36), 255 * 0.1353 / 4.898, 2);
    EXPECT_EQ(red(pixels, 20), 0.0);
    EXPECT_NEAR(total, 255, 6) << "the weights are normalised";
}

TEST_F(ShaderTest, LinkFailureCarriesTheInfoLog)
{
    detect(false, false, true);
    // The fragment shader reads a varying that the vertex shader never writes.
    test::writeFile("v.glsl", "void main() { gl_Position = ftransform(); }\n");
    test::writeFile("f.glsl", "varying vec2 lost;\nvoid main() { gl_FragColor = vec4(lost, 0.0, 1.0); }\n");
    const std::uint32_t vertex = CompileShader("v.glsl", GL_VERTEX_SHADER_ARB);
    const std::uint32_t fragment = CompileShader("f.glsl", GL_FRAGMENT_SHADER_ARB);
    try {
        LinkProgram({vertex, fragment});
        FAIL() << "an unwritten varying was linked";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr("lost"));
    }
    glDeleteObjectARB(vertex);
    glDeleteObjectARB(fragment);
}

TEST_F(ShaderTest, AnUnknownUniformIsRefused)
{
    detect(false, false, true);
    Shaders = std::make_unique<KaShaderClass>();
    KaShader* blur = Shaders->Find("blur");
    EXPECT_THROW(blur->AddUniform("no_such_uniform"), Error);
    EXPECT_EQ(blur->FindUniform("no_such_uniform"), nullptr);
    glUseProgramObjectARB(0);
}

// One square whose four vertices sit at its centre with their corner offsets
// in the normals, drawn through a camera-facing program.
class BillboardTest : public ShaderTest {
protected:
    std::vector<std::uint8_t> square(const char* program, std::array<float, 2> across,
                                     std::array<float, 2> upward)
    {
        Shaders = std::make_unique<KaShaderClass>();
        beginFrame();
        glTranslatef(0.25f, 0, 0); // the centre moves with the model-view matrix
        KaShader* shader = Shaders->Find(program);
        shader->Enable();
        glProgramLocalParameter4fARB(GL_VERTEX_PROGRAM_ARB, 0, across[0], across[1], 0, 1);
        glProgramLocalParameter4fARB(GL_VERTEX_PROGRAM_ARB, 1, upward[0], upward[1], 0, 1);
        glBlendFunc(GL_ONE, GL_ZERO);
        glColor4f(1, 1, 1, 1);
        const float half = 0.5f;
        const float corners[4][2] = {{half, half}, {-half, half}, {-half, -half}, {half, -half}};
        glBegin(GL_QUADS);
        for (const auto& corner : corners) {
            glNormal3f(corner[0], corner[1], 0);
            glVertex3f(0, 0, 0);
        }
        glEnd();
        shader->Disable();
        return frame();
    }
    static bool lit(const std::vector<std::uint8_t>& pixels, int x, int y)
    {
        return regionMean(pixels, x, y, x + 2, y + 2)[0] > 250;
    }
};

TEST_F(BillboardTest, SquareIsExpandedAroundItsViewSpaceCentre)
{
    for (const char* program : {"billboard", "parsystem"}) {
        SCOPED_TRACE(program);
        // Centre at x = 0.25 (pixel 40), half size 0.5 (16 pixels).
        const auto pixels = square(program, {1, 0}, {0, 1});
        EXPECT_TRUE(lit(pixels, 40, 32));
        EXPECT_TRUE(lit(pixels, 26, 18));
        EXPECT_TRUE(lit(pixels, 53, 45));
        EXPECT_FALSE(lit(pixels, 20, 32));
        EXPECT_FALSE(lit(pixels, 40, 52));
    }
}

TEST_F(BillboardTest, TurnedDirectionsTurnTheSquare)
{
    const float c = 0.70710678f;
    const auto pixels = square("billboard", {c, c}, {-c, c});
    EXPECT_TRUE(lit(pixels, 40, 32));
    EXPECT_TRUE(lit(pixels, 40, 50)) << "a diamond reaches further along the axes";
    EXPECT_FALSE(lit(pixels, 26, 18)) << "and leaves the square's corners";
}

TEST_F(ShaderTest, InfoLogIsEmptyForACleanShader)
{
    detect(false, false, true);
    const std::uint32_t shader = CompileShader("data\\shaders\\v_blur.glsl", GL_VERTEX_SHADER_ARB);
    EXPECT_EQ(InfoLog(shader), "");
    glDeleteObjectARB(shader);
}

} // namespace
} // namespace ra7
