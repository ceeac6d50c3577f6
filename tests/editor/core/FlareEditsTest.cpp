// The Secondaries page's rules: the lens limit of ten, fresh lenses, flare
// names (taken, empty, renamed with the sprites that show them), the
// distance, deleting, KLS files written only from a chosen set and read
// without harm when damaged, and undo of each step.

#include "core/FlareEdits.h"
#include "core/EditorDocument.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Sprite.h"
#include "engine/SceneTestSupport.h"
#include "scene/Ka7SceneGeom.h"

#include <gmock/gmock.h>

namespace ra7::editor {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Optional;

std::vector<std::string> flareNames()
{
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < LensFlares->Count(); ++i)
        names.push_back(LensFlares->Get(i).Name);
    return names;
}

class FlareEditsTest : public ra7::test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        LensFlares = std::make_unique<KaLensFlareList>();
        document = std::make_unique<EditorDocument>(scene());
    }
    void TearDown() override
    {
        document.reset();
        LensFlares.reset();
        SceneTest::TearDown();
    }
    KaLensFlare& flare(const std::string& name) { return *LensFlares->Find(name); }
    std::unique_ptr<EditorDocument> document;
};

TEST_F(FlareEditsTest, TheEleventhLensIsRefusedAndTheFlareStillSavesWhole)
{
    ASSERT_EQ(AddFlare(*document, "glow"), std::nullopt);
    for (int i = 0; i < kMaxLenses; ++i)
        ASSERT_EQ(AddLens(*document, "glow", ""), std::nullopt) << "lens " << i + 1;
    EXPECT_THAT(AddLens(*document, "glow", ""), Optional(HasSubstr("10 линз")));
    EXPECT_EQ(flare("glow").LensCount, kMaxLenses);

    ASSERT_EQ(SaveFlares({0}, "ten.kls"), std::nullopt);
    KaLensFlareList read;
    ASSERT_NE(read.LoadFromFile("ten.kls"), nullptr);
    EXPECT_EQ(read.Get(0).LensCount, kMaxLenses);
}

TEST_F(FlareEditsTest, ANewLensStartsFromDefaultsNotFromAStaleSlot)
{
    KaLensFlare stale;
    stale.Name = "old";
    stale.LensCount = 1;
    stale.Lenses[1].Size = 55;
    stale.Lenses[1].TextureName = "left.tga";
    LensFlares->AddCopy(stale);
    ASSERT_EQ(AddLens(*document, "old", "ring.tga"), std::nullopt);
    const KaLens& lens = flare("old").Lenses[1];
    EXPECT_EQ(lens.Size, KaLens{}.Size);
    EXPECT_EQ(lens.TextureName, "ring.tga");
    document->Undo();
    EXPECT_EQ(flare("old").LensCount, 1);
    EXPECT_EQ(flare("old").Lenses[1].Size, 55) << "undo puts the slot back as it was";
}

TEST_F(FlareEditsTest, AddingATakenOrUnstorableNameIsRefusedAndChangesNothing)
{
    ASSERT_EQ(AddFlare(*document, " sun "), std::nullopt);
    EXPECT_THAT(flareNames(), ElementsAre("sun"));
    EXPECT_THAT(AddFlare(*document, "sun"), Optional(HasSubstr("уже есть")));
    EXPECT_NE(AddFlare(*document, "   "), std::nullopt);
    EXPECT_NE(AddFlare(*document, std::string(256, 'a')), std::nullopt);
    EXPECT_THAT(flareNames(), ElementsAre("sun"));
    EXPECT_EQ(NewFlareName(), "lens1");
    document->Undo();
    EXPECT_TRUE(flareNames().empty());
}

TEST_F(FlareEditsTest, ARenameReachesEverySpriteThatShowsTheFlareAndUndoTakesItBack)
{
    ASSERT_EQ(AddFlare(*document, "sun"), std::nullopt);
    ASSERT_EQ(AddFlare(*document, "moon"), std::nullopt);
    auto& lamp = add<KaSprite>("lamp");
    auto& torch = add<KaSprite>("torch");
    auto& other = add<KaSprite>("other");
    lamp.FlareName = "sun";
    torch.FlareName = "sun";
    other.FlareName = "moon";

    EXPECT_THAT(RenameFlare(*document, "sun", "moon"), Optional(HasSubstr("уже есть")));
    ASSERT_EQ(RenameFlare(*document, "sun", "star"), std::nullopt);
    EXPECT_THAT(flareNames(), ElementsAre("star", "moon"));
    EXPECT_EQ(lamp.FlareName, "star");
    EXPECT_EQ(torch.FlareName, "star");
    EXPECT_EQ(other.FlareName, "moon");
    document->Undo();
    EXPECT_THAT(flareNames(), ElementsAre("sun", "moon"));
    EXPECT_EQ(lamp.FlareName, "sun");
    document->Redo();
    EXPECT_EQ(torch.FlareName, "star");
}

TEST_F(FlareEditsTest, TheDistanceMustBeAFiniteNumberAboveZero)
{
    ASSERT_EQ(AddFlare(*document, "sun"), std::nullopt);
    for (const char* bad : {"0", "-2", "inf", "nan", "abc", "", "1e40"})
        EXPECT_NE(SetFlareDistance(*document, "sun", bad), std::nullopt) << bad;
    EXPECT_EQ(flare("sun").DistanceScale, 100);
    ASSERT_EQ(SetFlareDistance(*document, "sun", "2,5"), std::nullopt);
    EXPECT_EQ(flare("sun").DistanceScale, 2.5f);
    document->Undo();
    EXPECT_EQ(flare("sun").DistanceScale, 100);
}

TEST_F(FlareEditsTest, MovesOfOneBarMergeIntoOneStepAndEachBarWritesItsOwnField)
{
    ASSERT_EQ(AddFlare(*document, "sun"), std::nullopt);
    ASSERT_EQ(AddLens(*document, "sun", ""), std::nullopt);
    KaLens lens = flare("sun").Lenses[0];
    for (int position : {650, 680, 700}) {
        lens.Size = kLensSizeBar.Value(position);
        ASSERT_EQ(SetLens(*document, "sun", 0, lens, "Размер"), std::nullopt);
    }
    EXPECT_EQ(flare("sun").Lenses[0].Size, 70);
    lens.Pos = kLensPositionBar.Value(1);
    ASSERT_EQ(SetLens(*document, "sun", 0, lens, "Позиция"), std::nullopt);
    EXPECT_FLOAT_EQ(flare("sun").Lenses[0].Pos, 0.1f);
    document->Undo(); // the position
    EXPECT_EQ(flare("sun").Lenses[0].Size, 70);
    document->Undo(); // the whole size drag
    EXPECT_EQ(flare("sun").Lenses[0].Size, KaLens{}.Size);
    EXPECT_NE(SetLens(*document, "sun", 1, lens, "Размер"), std::nullopt) << "lens 2 is not in use";
}

TEST_F(FlareEditsTest, DeletingFlaresAndLensesIsUndoneInPlace)
{
    for (const char* name : {"a", "b", "c"})
        ASSERT_EQ(AddFlare(*document, name), std::nullopt);
    for (const char* texture : {"1.tga", "2.tga", "3.tga"})
        ASSERT_EQ(AddLens(*document, "b", texture), std::nullopt);
    ASSERT_EQ(DeleteLens(*document, "b", 0), std::nullopt);
    EXPECT_EQ(flare("b").LensCount, 2);
    EXPECT_EQ(flare("b").Lenses[0].TextureName, "2.tga");
    EXPECT_EQ(flare("b").Lenses[2].TextureName, "");
    ASSERT_EQ(DeleteFlares(*document, {"a", "b"}), std::nullopt);
    EXPECT_THAT(flareNames(), ElementsAre("c"));
    EXPECT_NE(DeleteFlares(*document, {}), std::nullopt);
    document->Undo();
    EXPECT_THAT(flareNames(), ElementsAre("a", "b", "c"));
    document->Undo();
    EXPECT_EQ(flare("b").Lenses[0].TextureName, "1.tga");
}

TEST_F(FlareEditsTest, SavingWithNoFlareChosenLeavesTheFileAlone)
{
    ra7::test::writeFile("keep.kls", "old bytes");
    ASSERT_EQ(AddFlare(*document, "sun"), std::nullopt);
    EXPECT_THAT(SaveFlares({}, "keep.kls"), Optional(HasSubstr("Не выбран")));
    EXPECT_EQ(ra7::test::readFile("keep.kls"), "old bytes");
}

TEST_F(FlareEditsTest, SavingWritesOnlyTheChosenFlaresInListOrderAndLoadingAddsThemAsOneStep)
{
    for (const char* name : {"a", "b", "c"})
        ASSERT_EQ(AddFlare(*document, name), std::nullopt);
    ASSERT_EQ(SetFlareDistance(*document, "c", "7"), std::nullopt);
    ASSERT_EQ(AddLens(*document, "c", "ring.tga"), std::nullopt); // a flare without lenses stores no distance
    ASSERT_EQ(SaveFlares({0, 2}, "glow.kls"), std::nullopt);

    ASSERT_EQ(LoadFlares(*document, "glow.kls"), std::nullopt);
    EXPECT_THAT(flareNames(), ElementsAre("a", "b", "c", "a_1", "c_1"));
    EXPECT_EQ(flare("c_1").DistanceScale, 7);
    EXPECT_EQ(flare("c_1").Lenses[0].TextureName, "ring.tga");
    EXPECT_EQ(document->EditorState().flareFile, "glow.kls");
    document->Undo();
    EXPECT_THAT(flareNames(), ElementsAre("a", "b", "c"));
    EXPECT_EQ(document->EditorState().flareFile, "");
}

TEST_F(FlareEditsTest, ADamagedOrMissingFileChangesNothing)
{
    ASSERT_EQ(AddFlare(*document, "a"), std::nullopt);
    ASSERT_EQ(AddFlare(*document, "b"), std::nullopt);
    ASSERT_EQ(SaveFlares({0, 1}, "two.kls"), std::nullopt);
    const std::string whole = ra7::test::readFile("two.kls");
    ra7::test::writeFile("cut.kls", whole.substr(0, whole.size() - 10));

    EXPECT_NE(LoadFlares(*document, "cut.kls"), std::nullopt);
    EXPECT_THAT(LoadFlares(*document, "none.kls"), Optional(HasSubstr("не найден")));
    EXPECT_THAT(flareNames(), ElementsAre("a", "b"));
    EXPECT_EQ(document->UndoLabel(), "Добавить блик b");
}

TEST_F(FlareEditsTest, OnlyASpriteTakesAFlare)
{
    ASSERT_EQ(AddFlare(*document, "sun"), std::nullopt);
    auto& lamp = add<KaSprite>("lamp");
    add<KaGeometry>("box");
    EXPECT_NE(AssignFlareToSprite(*document, "box", "sun"), std::nullopt);
    ASSERT_EQ(AssignFlareToSprite(*document, "lamp", "sun"), std::nullopt);
    EXPECT_EQ(lamp.FlareName, "sun");
    document->Undo();
    EXPECT_EQ(lamp.FlareName, "");
}

} // namespace
} // namespace ra7::editor
