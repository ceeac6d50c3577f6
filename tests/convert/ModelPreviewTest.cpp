// The converter's preview drawn on the headless context and read back.
#include "ModelPreview.h"
#include "ConvertSceneFixture.h"

#include "resources/Ka7TextureList.h"

#include <epoxy/gl.h>

#include <gtest/gtest.h>

namespace ra7 {
namespace {

class ModelPreviewTest : public test::ConvertSceneTest {
protected:
    static void expectColour(const std::array<double, 4>& mean, double r, double g, double b,
                             const char* what)
    {
        EXPECT_NEAR(mean[0], r, 2) << what;
        EXPECT_NEAR(mean[1], g, 2) << what;
        EXPECT_NEAR(mean[2], b, 2) << what;
    }
};

// Left half: a textured quad face (4 corners). Right half: a pentagon
// without texture. Top strip of the right half: nothing.
constexpr std::string_view kPreviewModel = "mtllib preview.mtl\n"
                                           "v -1 -1 0\nv 0 -1 0\nv 0 1 0\nv -1 1 0\n"
                                           "v 0 -1 0\nv 1 -1 0\nv 1 0.4 0\nv 0.5 0.5 0\nv 0 0.4 0\n"
                                           "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
                                           "g painted\nusemtl painted\nf 1/1/1 2/2/1 3/3/1 4/4/1\n"
                                           "g plain\nusemtl plain\nf 5//1 6//1 7//1 8//1 9//1\n";

TEST_F(ModelPreviewTest, FacesOfAnyCornerCountDrawWithTheirGroupsTextures)
{
    test::writeSolidTga("wood.tga", 4, 0, 200, 0);
    test::writeFile("preview.mtl", "newmtl painted\nKd 1 1 1\nmap_Kd wood.tga\nnewmtl plain\nKd 1 1 1\n");
    test::writeFile("preview.obj", std::string(kPreviewModel));
    const TModel model = LoadOBJ("preview.obj");
    ASSERT_TRUE(model.HasMaterials);
    LoadModelTextures(model);
    EXPECT_EQ(Textures->Count(), 1);

    beginFrame();
    DrawModel(model);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    const auto pixels = frame();
    const int half = test::kViewSize / 2;
    expectColour(regionMean(pixels, 4, 4, half - 4, test::kViewSize - 4), 0, 200, 0, "textured quad");
    expectColour(regionMean(pixels, half + 4, 4, test::kViewSize - 4, half), 255, 255, 255,
                 "untextured pentagon");
    expectColour(regionMean(pixels, half + 4, test::kViewSize - 8, test::kViewSize - 4, test::kViewSize - 2),
                 0, 0, 0, "above the pentagon");
}

TEST_F(ModelPreviewTest, MissingTextureDrawsTheGroupUntextured)
{
    test::writeFile("preview.mtl", "newmtl painted\nmap_Kd wood.tga\nnewmtl plain\n");
    test::writeFile("preview.obj", std::string(kPreviewModel));
    const TModel model = LoadOBJ("preview.obj");
    LoadModelTextures(model);
    EXPECT_EQ(Textures->Count(), 0);
    beginFrame();
    DrawModel(model);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const auto pixels = frame();
    expectColour(regionMean(pixels, 4, 4, 28, 60), 255, 255, 255, "quad without its texture");
}

TEST_F(ModelPreviewTest, UnreadableTextureIsLoggedAndLeftOut)
{
    test::writeFile("wood.tga", "not an image");
    test::writeFile("preview.mtl", "newmtl painted\nmap_Kd wood.tga\nnewmtl plain\n");
    test::writeFile("preview.obj", std::string(kPreviewModel));
    LoadModelTextures(LoadOBJ("preview.obj"));
    EXPECT_EQ(Textures->Count(), 0);
}

} // namespace
} // namespace ra7
