// The SkyBox page's rules on real GL textures: "Очистить" gives the sky no
// texture at once and deletes no texture another user still draws, a face
// changes only once its new texture has loaded, and undo gives back the
// very textures.

#include "core/SkyBoxEdits.h"
#include "core/EditorDocument.h"
#include "core/FlareEdits.h"
#include "engine/RenderTestSupport.h"
#include "render/Ka7Scene.h"
#include "resources/Ka7TextureList.h"

#include <epoxy/gl.h>
#include <gmock/gmock.h>

namespace ra7::editor {
namespace {

using ::testing::HasSubstr;

class SkyBoxEditsTest : public ra7::test::RenderTest {
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        document = std::make_unique<EditorDocument>(*SceneObjects);
        ra7::test::writeFile("up.tga", ra7::test::solidTga(4, 4, 0, 0, 255, 255));
        ra7::test::writeFile("down.tga", ra7::test::solidTga(4, 4, 0, 255, 0, 255));
    }
    void TearDown() override
    {
        document.reset();
        RenderTest::TearDown();
    }
    std::uint32_t glName(const std::string& file) { return Textures->Find(file)->GLName(); }
    std::unique_ptr<EditorDocument> document;
};

TEST_F(SkyBoxEditsTest, AChosenFaceShowsAtOnceAndUndoGivesTheOldTextureBack)
{
    SetSkyBoxEnabled(*document, true);
    const FaceChoice up = ChooseSkyFace(*document, 4, "up.tga");
    EXPECT_TRUE(up.changed);
    EXPECT_EQ(up.line, FileAddedLine("up.tga"));
    ASSERT_NE(Textures->Find("up.tga"), nullptr);
    EXPECT_EQ(Scene->SkyUp, glName("up.tga"));
    EXPECT_TRUE(Scene->SkyBox);
    ASSERT_TRUE(ChooseSkyFace(*document, 4, "down.tga").changed);
    EXPECT_EQ(Scene->SkyUp, glName("down.tga"));
    document->Undo();
    EXPECT_EQ(Scene->SkyUp, glName("up.tga"));
    EXPECT_EQ(document->EditorState().sky.names[4], "up.tga");
}

TEST_F(SkyBoxEditsTest, AMissingFileLeavesTheFaceAndItsTextureAlone)
{
    ASSERT_TRUE(ChooseSkyFace(*document, 4, "up.tga").changed);
    const std::uint32_t before = Scene->SkyUp;
    const FaceChoice missing = ChooseSkyFace(*document, 4, "gone.tga");
    EXPECT_FALSE(missing.changed);
    EXPECT_THAT(missing.line, HasSubstr("не найден"));
    EXPECT_EQ(document->EditorState().sky.names[4], "up.tga");
    EXPECT_EQ(Scene->SkyUp, before);
    EXPECT_NE(Textures->Find("up.tga"), nullptr);
    EXPECT_FALSE(ChooseSkyFace(*document, 6, "up.tga").changed);
}

TEST_F(SkyBoxEditsTest, ClearingDropsTheHandlesAtOnceAndKeepsTexturesOthersUse)
{
    KaMaterial& stone = addMaterial("stone");
    stone.Textures[0] = "up.tga";
    ASSERT_TRUE(ChooseSkyFace(*document, 4, "up.tga").changed);
    ASSERT_TRUE(ChooseSkyFace(*document, 5, "up.tga").changed) << "one file on two faces";
    const std::uint32_t name = glName("up.tga");

    ClearSkyBox(*document);
    EXPECT_EQ(Scene->SkyUp, 0u);
    EXPECT_EQ(Scene->SkyDown, 0u);
    ASSERT_NE(Textures->Find("up.tga"), nullptr);
    EXPECT_EQ(glName("up.tga"), name) << "the material still draws the same texture";
    EXPECT_TRUE(glIsTexture(name));

    document->Undo();
    EXPECT_EQ(Scene->SkyUp, name);
    EXPECT_EQ(Scene->SkyDown, name);
}

TEST_F(SkyBoxEditsTest, ApplyingEmptyBoxesSwitchesEveryFaceOff)
{
    Scene->SkyFront = 77; // a handle left over from elsewhere
    ApplySkyBoxNow(*document);
    EXPECT_EQ(Scene->SkyFront, 0u);
    EXPECT_EQ(Scene->SkyDown, 0u);
    EXPECT_FALSE(document->CanUndo());
}

} // namespace
} // namespace ra7::editor
