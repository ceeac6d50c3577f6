// A textured, lit square drawn through each material path of the standard
// shader set, read back and compared region by region.
#include "engine/GLTestSupport.h"

#include "math/Ka7Transform.h"
#include "resources/DrawState.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7GlobalEngine.h"

#include <epoxy/gl.h>

#include <gmock/gmock.h>

namespace ra7 {
namespace {

// One object, one light, one camera, as the scene would report them.
class TestScene : public ShaderSceneSource {
public:
    KaTransformation object;
    ShaderLightState light;
    Vector3 camera{0, 0, 3};

    const KaTransformation* ObjectTransformation(std::string_view name) override
    {
        return name == "square" ? &object : nullptr;
    }
    std::optional<ShaderLightState> Light(std::string_view name) override
    {
        return name == "lig1" ? std::optional(light) : std::nullopt;
    }
    Vector3 ActiveCameraPosition() override { return camera; }
};

using Colour = std::array<double, 4>;

class LightingTest : public test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        installShaders();
        Shaders = std::make_unique<KaShaderClass>();
        Textures = std::make_unique<KaTextureArray>();
        Materials = std::make_unique<KaMaterialList>();
        test::writeFile("orange.tga", test::solidTga(4, 4, 200, 100, 50, 255));
        test::writeFile("orange_matt.tga", test::solidTga(4, 4, 200, 100, 50, 0));
        test::writeFile("flat_n.tga", test::solidTga(4, 4, 128, 128, 255, 128));
        test::writeFile("east_n.tga", test::solidTga(4, 4, 255, 128, 128, 128));
        for (const char* name : {"orange.tga", "orange_matt.tga", "flat_n.tga", "east_n.tga"})
            Textures->Add(name);

        scene_.light.Position = {0, 0, 2};
        scene_.light.Ambient = {0.1f, 0.1f, 0.1f, 1};
        scene_.light.Diffuse = {1, 1, 1, 1};
        scene_.light.Specular = {1, 1, 1, 1};
        SetShaderSceneSource(&scene_);
        CurrentObjectName = "square";
        CurrentLightName = "lig1";
    }

    // A material of the given shaders: white ambient and diffuse, no world
    // ambient, specular as asked.
    KaMaterial material(const std::string& vertex, const std::string& fragment, float specular = 0,
                        const std::string& colourMap = "orange.tga",
                        const std::string& normalMap = "flat_n.tga")
    {
        KaMaterial m;
        m.Name = vertex + "+" + fragment + "+" + std::to_string(specular) + "+" + colourMap + "+" + normalMap;
        m.Ambient = {1, 1, 1, 1};
        m.WorldAmbient = {0, 0, 0, 1};
        m.Diffuse = {1, 1, 1, 1};
        m.Specular = {specular, specular, specular, 1};
        m.Shininess = 8;
        m.Colour = {1, 1, 1, 1};
        m.VertexShader = vertex;
        m.FragmentShader = fragment;
        m.Textures[0] = colourMap;
        m.Textures[1] = normalMap;
        Materials->AddCopy(m);
        return m;
    }

    // The centre of the square and a corner of the frame outside it.
    std::pair<Colour, Colour> draw(const KaMaterial& m)
    {
        beginFrame();
        m.Apply();
        square_->Draw();
        m.Unapply();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        const auto pixels = frame();
        return {regionMean(pixels, 28, 28, 36, 36), regionMean(pixels, 0, 0, 8, 8)};
    }

    TestScene scene_;
    std::unique_ptr<KaMesh> square_ = test::squareMesh("square", 1);
};

struct Path {
    const char* vertex;
    const char* fragment;
    bool textured;
};

const Path kLitPaths[] = {
    {"phongV", "phongF", true},    {"phongV", "phongFnotTex", false}, {"bumpV", "bumpF", true},
    {"bumpV", "bumpF_notG", true}, {"parallaxV", "parallaxF", true},  {"parallaxV", "parallaxF_notG", true},
};

TEST_F(LightingTest, EveryLitPathShowsTheTextureUnderALightInFront)
{
    for (const Path& path : kLitPaths) {
        SCOPED_TRACE(std::string(path.vertex) + " + " + path.fragment);
        const auto [centre, outside] = draw(material(path.vertex, path.fragment));
        EXPECT_EQ(outside[0] + outside[1] + outside[2], 0.0);
        if (path.textured) {
            // (200, 100, 50) × (ambient 0.1 + diffuse ≈ 0.97)
            EXPECT_NEAR(centre[0], 214, 12);
            EXPECT_NEAR(centre[1], 107, 8);
            EXPECT_NEAR(centre[2], 53, 6);
        } else {
            EXPECT_GT(centre[0], 250);
            EXPECT_NEAR(centre[0], centre[2], 1);
        }
    }
}

TEST_F(LightingTest, ALightBehindTheSurfaceLeavesOnlyTheAmbientTerm)
{
    scene_.light.Position = {0, 0, -2};
    for (const Path& path : kLitPaths) {
        SCOPED_TRACE(std::string(path.vertex) + " + " + path.fragment);
        const auto [centre, outside] = draw(material(path.vertex, path.fragment, 1));
        const double expectedRed = path.textured ? 20 : 25.5;
        EXPECT_NEAR(centre[0], expectedRed, 3);
    }
}

TEST_F(LightingTest, TheLightRangeFadesTheLight)
{
    // Attenuation is computed at the vertices: the corners lie at a squared
    // distance of 4.5, so 1 - 4.5 / 2.5² = 0.28 all over the square.
    scene_.light.Range = 2.5f;
    const auto [centre, outside] = draw(material("phongV", "phongFnotTex"));
    EXPECT_NEAR(centre[0], 255 * (0.1 + 0.28), 6);
}

TEST_F(LightingTest, ALightWithoutPositionShinesFromItsDirectionWithoutFading)
{
    scene_.light.Static = true;
    scene_.light.Range = 0.5f;
    scene_.object.Position = {100, 0, 0}; // not subtracted from a direction
    scene_.light.Position = {0, 0, 1};
    const KaMaterial m = material("phongV", "phongFnotTex");
    EXPECT_GT(draw(m).first[0], 250);
    scene_.light.Position = {0, 0, -1};
    EXPECT_NEAR(draw(m).first[0], 25.5, 2);
}

TEST_F(LightingTest, SpecularHighlightFacesTheEyeAndTheGlossMapMasksIt)
{
    const auto plain = draw(material("phongV", "phongF", 0)).first;
    const auto shiny = draw(material("phongV", "phongF", 0.5f)).first;
    EXPECT_GT(shiny[2], plain[2] + 60) << "blue shows the white highlight";

    const auto glossy = draw(material("bumpV", "bumpF", 0.5f, "orange.tga")).first;
    const auto matt = draw(material("bumpV", "bumpF", 0.5f, "orange_matt.tga")).first;
    const auto noGlossMap = draw(material("bumpV", "bumpF_notG", 0.5f, "orange_matt.tga")).first;
    EXPECT_GT(glossy[2], matt[2] + 60);
    EXPECT_NEAR(matt[2], plain[2], 6) << "a matt gloss map removes the highlight";
    EXPECT_NEAR(noGlossMap[2], glossy[2], 6) << "without a gloss map the highlight stays";
}

TEST_F(LightingTest, BumpMappingTakesTheTangentFromUnitOneAndTheBinormalFromUnitTwo)
{
    // The normal map leans towards +x, the tangent direction.
    const KaMaterial bump = material("bumpV", "bumpF_notG", 0, "orange.tga", "east_n.tga");
    const KaMaterial phong = material("phongV", "phongF");
    scene_.light.Position = {20, 0, 0.5f};
    const double litFromEast = draw(bump).first[0];
    const double flatFromEast = draw(phong).first[0];
    scene_.light.Position = {-20, 0, 0.5f};
    const double litFromWest = draw(bump).first[0];
    scene_.light.Position = {0, 20, 0.5f};
    const double litFromNorth = draw(bump).first[0];
    EXPECT_GT(litFromEast, 180);
    EXPECT_LT(flatFromEast, 60) << "the flat surface is grazed";
    EXPECT_LT(litFromWest, 30);
    EXPECT_LT(litFromNorth, 60) << "the binormal direction is not lit like the tangent";
}

TEST_F(LightingTest, ObjectRotationIsUndoneBeforeTheLightReachesTheProgram)
{
    // The square turned half a turn about y faces -z; a light at -z lights it.
    scene_.object.Rotation = RotationY(DegToRad(180));
    scene_.light.Position = {0, 0, -2};
    scene_.camera = {0, 0, -3};
    const KaMaterial m = material("phongV", "phongFnotTex");
    EXPECT_GT(draw(m).first[0], 250);
    scene_.light.Position = {0, 0, 2};
    EXPECT_LT(draw(m).first[0], 30);
}

TEST_F(LightingTest, ParameterCallbacksFillTheProgramLocals)
{
    scene_.object.Position = {1, 2, 3};
    scene_.object.Rotation = RotationZ(DegToRad(90));
    scene_.light.Position = {1, 2, 8};
    scene_.light.Range = 4;
    scene_.light.Ambient = {0.5f, 0.25f, 1, 1};
    scene_.light.Diffuse = {0.5f, 0.5f, 0.5f, 1};
    scene_.light.Specular = {1, 0, 1, 1};
    scene_.camera = {1, 7, 3};
    KaMaterial m = material("phongV", "phongF", 0.5f);
    Materials->Find(m.Name)->WorldAmbient = {0.25f, 0.25f, 0.25f, 1};
    Materials->Find(m.Name)->Shininess = 37;
    m.Apply();
    auto local = [](GLenum target, GLuint index) {
        std::array<float, 4> v{};
        glGetProgramLocalParameterfvARB(target, index, v.data());
        return v;
    };
    // Light 5 above the object along z, unchanged by a turn about z.
    const auto light = local(GL_VERTEX_PROGRAM_ARB, 0);
    EXPECT_NEAR(light[2], 5, 1e-5);
    EXPECT_EQ(light[3], 1);
    m.Unapply();
    scene_.light.Static = true;
    m.Apply();
    EXPECT_NEAR(local(GL_VERTEX_PROGRAM_ARB, 0)[2], 8, 1e-5) << "a direction is not moved by the object";
    EXPECT_EQ(local(GL_VERTEX_PROGRAM_ARB, 0)[3], 0);
    // The eye 5 along world +y; the object's x axis points along world +y.
    const auto eye = local(GL_VERTEX_PROGRAM_ARB, 1);
    EXPECT_NEAR(eye[0], 5, 1e-5);
    EXPECT_NEAR(eye[1], 0, 1e-5);
    EXPECT_EQ(local(GL_VERTEX_PROGRAM_ARB, 2), (std::array<float, 4>{0.25f, 0, 0, 1}));
    // ambient ⊗ (material ambient 1 + world ambient 0.25)
    EXPECT_EQ(local(GL_FRAGMENT_PROGRAM_ARB, 0), (std::array<float, 4>{0.625f, 0.3125f, 1.25f, 1}));
    EXPECT_EQ(local(GL_FRAGMENT_PROGRAM_ARB, 1), (std::array<float, 4>{37, 0, 0, 1}));
    EXPECT_EQ(local(GL_FRAGMENT_PROGRAM_ARB, 2), (std::array<float, 4>{0.5f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(local(GL_FRAGMENT_PROGRAM_ARB, 3), (std::array<float, 4>{0.5f, 0, 0.5f, 1}));
    m.Unapply();
}

TEST_F(LightingTest, FixedFunctionPathModulatesTheTextureByTheMaterialColour)
{
    KaMaterial m = material("", "");
    m.Colour = {0.5f, 1, 1, 1};
    const auto [centre, outside] = draw(m);
    EXPECT_NEAR(centre[0], 100, 2);
    EXPECT_NEAR(centre[1], 100, 2);
    EXPECT_NEAR(centre[2], 50, 2);
}

TEST_F(LightingTest, UploadedMeshDrawsTheSameAsClientArrays)
{
    const KaMaterial m = material("bumpV", "bumpF_notG", 0, "orange.tga", "east_n.tga");
    scene_.light.Position = {20, 0, 0.5f};
    const auto fromClient = draw(m).first;
    detect(true, false, false);
    square_->Upload();
    square_->ResetDisplayList();
    const auto fromBuffers = draw(m).first;
    for (std::size_t c = 0; c < 3; ++c)
        EXPECT_NEAR(fromBuffers[c], fromClient[c], 1) << c;
}

} // namespace
} // namespace ra7
