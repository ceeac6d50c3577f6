// The save window's lists: kind lists, names to save and resource lines.

#include "core/SaveWindowModel.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
#include "engine/TestSupport.h"
#include "runtime/Errors.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <gmock/gmock.h>

namespace ra7::editor {
namespace {

using Names = std::vector<std::string>;

class SaveWindow : public ra7::test::ConsoleTest {
protected:
    template <class T>
    T& add(const std::string& name, std::unique_ptr<T> object = std::make_unique<T>())
    {
        object->SetName(name);
        T& raw = *object;
        scene.Add(std::move(object));
        return raw;
    }
    KaGeometry& geometry(const std::string& name, const std::string& mesh, const std::string& lod1 = "",
                         const std::string& lod2 = "")
    {
        KaGeometry& made = add<KaGeometry>(name);
        made.MeshName = mesh;
        made.MeshLod1 = lod1;
        made.MeshLod2 = lod2;
        return made;
    }

    KaObjArray scene;
    SaveWindowModel model;
};

TEST_F(SaveWindow, KindListsFollowSlotOrderAndLeaveSoundsOut)
{
    add<KaCamera>("cam");
    geometry("g2", "b.mes");
    add<KaLight>("l");
    add<KaSound>("s");
    add<KaSprite>("sp");
    geometry("g1", "a.mes");
    add<KaParSystem>("p", std::make_unique<KaParSystem>(10));
    model.Display(scene);
    EXPECT_EQ(model.KindList(SaveKind::Geometry), (Names{"g2", "g1"}));
    EXPECT_EQ(model.KindList(SaveKind::Sprite), (Names{"sp"}));
    EXPECT_EQ(model.KindList(SaveKind::Light), (Names{"l"}));
    EXPECT_EQ(model.KindList(SaveKind::Camera), (Names{"cam"}));
    EXPECT_EQ(model.KindList(SaveKind::ParSystem), (Names{"p"}));
}

TEST_F(SaveWindow, AddingGeometryListsEveryDetailMeshOnceAndMovesTheEntry)
{
    geometry("a", "box.mes", "box1.mes", "");
    geometry("b", "box.mes", "", "box2.mes");
    geometry("c", "rock.mes");
    model.Display(scene);
    EXPECT_EQ(model.Add(scene, SaveKind::Geometry, 0), 0); // "b" now stands at row 0
    EXPECT_EQ(model.Add(scene, SaveKind::Geometry, 0), 0);
    EXPECT_EQ(model.Add(scene, SaveKind::Geometry, 0), -1); // the list is empty
    EXPECT_EQ(model.Lines(),
              (Names{"addmesh <box.mes>", "addmesh <box1.mes>", "addmesh <box2.mes>", "addmesh <rock.mes>"}));
    EXPECT_EQ(model.ToSave(), (Names{"a", "b", "c"}));
}

TEST_F(SaveWindow, SelectionMovesToTheLastEntryWhenTheLastIsTaken)
{
    geometry("a", "1.mes");
    geometry("b", "2.mes");
    geometry("c", "3.mes");
    model.Display(scene);
    EXPECT_EQ(model.Add(scene, SaveKind::Geometry, 2), 1);
    EXPECT_EQ(model.KindList(SaveKind::Geometry), (Names{"a", "b"}));
}

TEST_F(SaveWindow, SpriteWithoutStarAndStreakAddsOneTextureLine)
{
    auto& sprite = add<KaSprite>("sun");
    sprite.Texture1 = "glow.tga";
    sprite.Texture2 = "";
    sprite.Texture3 = "";
    auto& system = add<KaParSystem>("smoke", std::make_unique<KaParSystem>(4));
    system.TextureName = "glow.tga";
    model.Display(scene);
    model.Add(scene, SaveKind::Sprite, 0);
    model.Add(scene, SaveKind::ParSystem, 0);
    EXPECT_EQ(model.Lines(), (Names{"addtex <glow.tga>"}));
}

TEST_F(SaveWindow, ResetEmptiesTheNamesButKeepsTheLines)
{
    geometry("a", "box.mes");
    add<KaLight>("l");
    model.Display(scene);
    model.Add(scene, SaveKind::Geometry, 0);
    model.Add(scene, SaveKind::Light, 0);
    model.Reset(scene);
    EXPECT_TRUE(model.ToSave().empty());
    EXPECT_EQ(model.KindList(SaveKind::Geometry), (Names{"a"}));
    EXPECT_EQ(model.Lines(), (Names{"addmesh <box.mes>"}));
    model.Add(scene, SaveKind::Geometry, 0);
    EXPECT_EQ(model.Lines().size(), 1u);
}

TEST_F(SaveWindow, RemoveReturnsTheNameToTheEndOfItsKindList)
{
    geometry("a", "1.mes");
    geometry("b", "2.mes");
    add<KaLight>("l");
    model.Display(scene);
    model.Add(scene, SaveKind::Geometry, 0);
    model.Add(scene, SaveKind::Light, 0);
    model.Remove(scene, 0);
    EXPECT_EQ(model.KindList(SaveKind::Geometry), (Names{"b", "a"}));
    EXPECT_EQ(model.ToSave(), (Names{"l"}));
    EXPECT_EQ(model.Lines(), (Names{"addmesh <1.mes>"})) << "the command lines stay";
    EXPECT_THROW(model.Remove(scene, 1), Error);
    EXPECT_THROW(model.Add(scene, SaveKind::Camera, 0), Error);
}

TEST_F(SaveWindow, ADeletedObjectStopsTheSaveBeforeAnythingIsWritten)
{
    geometry("a", "1.mes");
    geometry("b", "2.mes");
    model.Display(scene);
    model.Add(scene, SaveKind::Geometry, 1);
    model.Add(scene, SaveKind::Geometry, 0);
    EXPECT_EQ(model.SaveIndexes(scene), (std::vector<std::int32_t>{1, 0}));
    scene.DeleteByName("b");
    try {
        model.SaveIndexes(scene);
        FAIL() << "a missing name must stop the save";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("\"b\""), std::string::npos) << e.what();
    }
    // A deleted name removed from the list just leaves it.
    model.Remove(scene, 0);
    EXPECT_EQ(model.ToSave(), (Names{"a"}));
    EXPECT_EQ(model.KindList(SaveKind::Geometry), (Names{}));
}

TEST_F(SaveWindow, AnEmptyListStopsTheSave)
{
    geometry("a", "1.mes");
    model.Display(scene);
    EXPECT_THAT([&] { model.SaveIndexes(scene); },
                ::testing::ThrowsMessage<Error>(::testing::StrEq(kNothingToSave)));
}

TEST_F(SaveWindow, AnObjectAddedAgainAfterTheWindowIsRefilledStandsOnce)
{
    geometry("crate", "crate.mes");
    geometry("floor", "floor.mes");
    model.Display(scene);
    model.Add(scene, SaveKind::Geometry, 0);
    // The window is shown again (the next save): the kind list holds every
    // object once more, "crate" included.
    model.Display(scene);
    EXPECT_EQ(model.KindList(SaveKind::Geometry), (Names{"crate", "floor"}));
    EXPECT_EQ(model.Add(scene, SaveKind::Geometry, 0), 0);
    EXPECT_EQ(model.ToSave(), (Names{"crate"}));
    EXPECT_EQ(model.KindList(SaveKind::Geometry), (Names{"floor"}));
    model.Add(scene, SaveKind::Geometry, 0);
    EXPECT_EQ(model.ToSave(), (Names{"crate", "floor"}));
    EXPECT_EQ(model.SaveIndexes(scene), (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(model.Lines(), (Names{"addmesh <crate.mes>", "addmesh <floor.mes>"}));
}

TEST_F(SaveWindow, ObjectGroupShowsSpriteTexturesWithLatinA)
{
    auto& sprite = add<KaSprite>("sun");
    sprite.Texture1 = "g.tga";
    sprite.Texture2 = "s.tga";
    sprite.Texture3 = "";
    add<KaLight>("l");
    const ObjectInfo info = DescribeObject(scene, SaveKind::Sprite, "sun");
    EXPECT_EQ(info.title, "----Спрайт----");
    EXPECT_EQ(info.memo, (Names{"Текстур\x61"
                                "1: g.tga",
                                "Текстур\x61"
                                "2: s.tga",
                                "Текстур\x61"
                                "3: "}));
    const ObjectInfo light = DescribeObject(scene, SaveKind::Light, "l");
    EXPECT_EQ(light.title, "----Источник света----");
    EXPECT_TRUE(light.memo.empty());
}

TEST_F(SaveWindow, ScriptLinesAreAddedAndRemovedByRow)
{
    model.AddLine("addmat <m.kmt>");
    model.AddLine("glinfo");
    model.RemoveLine(0);
    EXPECT_EQ(model.Lines(), (Names{"glinfo"}));
    EXPECT_THROW(model.RemoveLine(1), Error);
}

} // namespace
} // namespace ra7::editor
