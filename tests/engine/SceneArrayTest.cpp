// The object array: lookups by name (indexed, with the answers a scan from
// slot 0 gives), unique names, copies, deletion order, render lists and the
// change flag.
#include "engine/SceneTestSupport.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
#include "resources/Ka7MaterialList.h"
#include "runtime/Errors.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"

#include <gmock/gmock.h>

namespace ra7 {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ObjectArray = test::SceneTest;

TEST_F(ObjectArray, UniqueNamesTakeTheFirstFreeNumber)
{
    EXPECT_EQ(scene().MakeUniqueName("box"), "box");
    add<KaGeometry>("box");
    add<KaGeometry>("box_1");
    EXPECT_EQ(scene().MakeUniqueName("box"), "box_2");
    add<KaGeometry>("box_2");
    add<KaGeometry>("box_4");
    EXPECT_EQ(scene().MakeUniqueName("box"), "box_3");
    scene().DeleteByName("box_1"); // a freed number is taken again
    EXPECT_EQ(scene().MakeUniqueName("box"), "box_1");
    scene().FindByName("box_2")->SetName("crate"); // so is a renamed one
    add<KaGeometry>("box_1");
    EXPECT_EQ(scene().MakeUniqueName("box"), "box_2");
    EXPECT_EQ(scene().MakeUniqueName("Box"), "Box"); // case-sensitive
}

TEST_F(ObjectArray, NumberedNamesThatAreNotCandidatesDoNotConfuseTheSearch)
{
    add<KaGeometry>("box");
    add<KaGeometry>("box_01");
    add<KaGeometry>("box_1_1");
    EXPECT_EQ(scene().MakeUniqueName("box"), "box_1");
    add<KaGeometry>("box_1");
    EXPECT_EQ(scene().MakeUniqueName("box_1"), "box_1_2");
}

TEST_F(ObjectArray, LookupsGiveTheFirstSlotAndFollowRenamesAndMoves)
{
    add<KaGeometry>("a");
    auto& second = add<KaLight>("b");
    add<KaSprite>("a"); // a duplicate, as Assign leaves one until the copy is renamed
    EXPECT_EQ(scene().IndexOfName("a"), 0);
    scene().DeleteByName("a"); // deletes slot 0; the sprite moves there
    EXPECT_EQ(scene().IndexOfName("a"), 0);
    EXPECT_EQ(scene().FindByName("a")->Kind(), KaObjKind::Sprite);
    second.SetName("renamed");
    EXPECT_EQ(scene().FindByName("b"), nullptr);
    EXPECT_EQ(scene().FindByName("renamed"), &second);
    EXPECT_EQ(scene().IndexOfName("missing"), -1);
}

TEST_F(ObjectArray, AssignRenamesThroughTheIndex)
{
    auto& target = add<KaLight>("target");
    KaLight source;
    source.SetName("source");
    target.Assign(source);
    EXPECT_EQ(scene().FindByName("source"), &target);
    EXPECT_EQ(scene().FindByName("target"), nullptr);
}

TEST_F(ObjectArray, DeleteMovesTheLastObjectIntoTheGap)
{
    add<KaGeometry>("a");
    add<KaGeometry>("b");
    add<KaGeometry>("c");
    scene().DeleteByName("a");
    EXPECT_THAT(names(), ElementsAre("c", "b"));
    scene().DeleteByName("nothing");
    EXPECT_THAT(names(), ElementsAre("c", "b"));
    scene().DeleteByName("b");
    scene().DeleteByName("c");
    EXPECT_EQ(scene().Count(), 0);
    EXPECT_THAT(scene().GeomList, IsEmpty());
    EXPECT_EQ(scene().Last(), nullptr);
}

TEST_F(ObjectArray, DeleteKeepsTheMovedObjectItself)
{
    add<KaGeometry>("a");
    auto& dust = add<KaParSystem>("dust", 7);
    dust.SizeAdd = 0.5f;
    dust.Particles[3].Size = 42;
    scene().DeleteByName("a");
    ASSERT_EQ(scene().GetItem(0), &dust); // not a copy: the particles and SizeAdd stay
    EXPECT_EQ(dust.Particles[3].Size, 42);
    EXPECT_EQ(dust.Slot(), 0);
}

TEST_F(ObjectArray, GetItemChecksTheIndex)
{
    add<KaGeometry>("a");
    EXPECT_THROW(scene().GetItem(1), Error);
    EXPECT_THROW(scene().GetItem(-1), Error);
    try {
        scene().GetItem(5);
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Array index out of bounds.");
    }
}

TEST_F(ObjectArray, SetItemAndSetCountKeepTheIndexInStep)
{
    auto light = std::make_unique<KaLight>();
    scene().SetItem(2, std::move(light));
    EXPECT_EQ(scene().Count(), 3);
    EXPECT_EQ(scene().GetItem(0), nullptr);
    EXPECT_EQ(scene().IndexOfName("lig1"), 2);
    scene().RebuildLists();
    EXPECT_THAT(scene().LightList, ElementsAre(2));
    scene().SetCount(2);
    EXPECT_EQ(scene().IndexOfName("lig1"), -1);
}

TEST_F(ObjectArray, CopiesGetUniqueNamesAndKeepTheLinks)
{
    auto& parent = add<KaGeometry>("parent");
    auto& box = add<KaGeometry>("box");
    parent.AddChild(box);
    box.MeshName = "box.mes";
    KaSceneObj* copy = scene().AddCopy(box);
    EXPECT_EQ(copy->Name(), "box_1");
    EXPECT_EQ(copy->ParentName, "parent");
    EXPECT_EQ(static_cast<KaGeometry*>(copy)->MeshName, "box.mes");
    EXPECT_THAT(parent.Children, ElementsAre("box")); // the parent does not list the copy
    auto& dust = add<KaParSystem>("dust", 9);
    EXPECT_EQ(static_cast<KaParSystem*>(scene().AddCopy(dust))->Count(), 9);
}

TEST_F(ObjectArray, TheFirstCopiedCameraBecomesActive)
{
    KaCamera camera;
    scene().AddCopy(camera);
    EXPECT_EQ(ActiveCameraName, "cam1");
    scene().AddCopy(camera);
    EXPECT_EQ(ActiveCameraName, "cam1");
    EXPECT_EQ(scene().ActiveCamera(), scene().FindByName("cam1"));
    ActiveCameraName = "nobody";
    EXPECT_EQ(scene().ActiveCamera(), nullptr);
}

TEST_F(ObjectArray, RenderListsSortByKindStaticAndTransparency)
{
    KaMaterialList materials;
    materials.AddCopy(test::material("stone", false));
    materials.AddCopy(test::material("glass", true));
    scene().SetMaterialCatalog(&materials);
    scene().BeginUpdate();
    add<KaGeometry>("plain");                         // 0
    add<KaGeometry>("stone").MaterialName = "stone";  // 1
    add<KaGeometry>("glass").MaterialName = "glass";  // 2
    add<KaGeometry>("lost").MaterialName = "missing"; // 3
    add<KaGeometry>("fixed").Static = true;           // 4
    add<KaLight>("sun").Static = true;                // 5
    add<KaLight>("lamp");                             // 6
    add<KaSprite>("glow");                            // 7
    add<KaSprite>("star").Static = true;              // 8
    add<KaParSystem>("smoke", 1);                     // 9
    add<KaParSystem>("dust", 1).Static = true;        // 10
    add<KaSound>("hum");                              // 11
    add<KaSound>("wind").Static = true;               // 12
    add<KaCamera>("cam");                             // 13
    EXPECT_THAT(scene().GeomList, IsEmpty());         // no rebuild while updating
    scene().EndUpdate();
    EXPECT_FALSE(scene().Changed());
    EXPECT_THAT(scene().GeomList, ElementsAre(0, 1, 3));
    EXPECT_THAT(scene().BlendGeomList, ElementsAre(2));
    EXPECT_THAT(scene().StaticGeomList, ElementsAre(4));
    EXPECT_THAT(scene().LightList, ElementsAre(5, 6));
    EXPECT_THAT(scene().SpriteList, ElementsAre(7));
    EXPECT_THAT(scene().StaticSpriteList, ElementsAre(8));
    EXPECT_THAT(scene().ParSysList, ElementsAre(9));
    EXPECT_THAT(scene().StaticParSysList, ElementsAre(10));
    EXPECT_THAT(scene().SoundList, ElementsAre(11));
    EXPECT_THAT(scene().StaticSoundList, ElementsAre(12));
    EXPECT_EQ(static_cast<KaGeometry*>(scene().GetItem(3))->MaterialName,
              "missing"); // an absent material keeps its name, drawn opaque
    EXPECT_EQ(static_cast<KaGeometry*>(scene().GetItem(2))->MaterialName, "glass");
}

TEST_F(ObjectArray, WithoutAMaterialListMaterialNamesStay)
{
    add<KaGeometry>("stone").MaterialName = "stone";
    EXPECT_THAT(scene().GeomList, ElementsAre(0));
    EXPECT_EQ(static_cast<KaGeometry*>(scene().GetItem(0))->MaterialName, "stone");
}

TEST_F(ObjectArray, ChangeFlagIsTakenOnce)
{
    EXPECT_FALSE(scene().TakeChanged());
    add<KaLight>("lamp");
    EXPECT_TRUE(scene().TakeChanged());
    EXPECT_FALSE(scene().TakeChanged());
    scene().DeleteByName("lamp");
    EXPECT_TRUE(scene().TakeChanged());
}

TEST_F(ObjectArray, ClearReleasesEverythingAndForgetsTheNames)
{
    auto& parent = add<KaGeometry>("parent");
    parent.AddChild(add<KaGeometry>("child"));
    add<KaGeometry>("box_1");
    scene().Clear();
    EXPECT_EQ(scene().Count(), 0);
    EXPECT_EQ(scene().FindByName("parent"), nullptr);
    EXPECT_EQ(scene().MakeUniqueName("box"), "box");
    EXPECT_FALSE(scene().Updating());
}

} // namespace
} // namespace ra7
