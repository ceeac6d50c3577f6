// The selection panel's rules: coordinates typed for roots and children (a
// child's typed position must last past its parent's update), text that is
// not a number, the "-" buttons, and renaming with its refusals and links.

#include "core/EditorDocument.h"
#include "core/PlacementCommands.h"
#include "engine/SceneTestSupport.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"

#include <gmock/gmock.h>

#include <numbers>

namespace ra7::editor {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr float kPi = std::numbers::pi_v<float>;

void expectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

class SelectionBoxesTest : public ra7::test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        document = std::make_unique<EditorDocument>(scene());
    }
    KaGeometry& at(const std::string& name, Vector3 position)
    {
        KaGeometry& object = add<KaGeometry>(name);
        object.Trans->Position = position;
        return object;
    }
    std::unique_ptr<EditorDocument> document;
};

TEST_F(SelectionBoxesTest, ARootTakesTheTypedCoordinateWithEitherSeparator)
{
    KaGeometry& box = at("box", {1, 2, 3});
    document->Select({"box"});
    EXPECT_EQ(ApplyCoordinateText(*document, GizmoAxis::X, "1,5"), std::nullopt);
    EXPECT_EQ(ApplyCoordinateText(*document, GizmoAxis::Z, " -0.25 "), std::nullopt);
    EXPECT_EQ(box.Trans->Position, (Vector3{1.5f, 2, -0.25f}));
    EXPECT_EQ(document->UndoLabel(), "Z объекта box = -0.250");
    document->Undo();
    document->Undo();
    EXPECT_EQ(box.Trans->Position, (Vector3{1, 2, 3}));
}

TEST_F(SelectionBoxesTest, AChildsTypedCoordinateLastsPastItsParentsUpdate)
{
    KaGeometry& parent = at("parent", {5, 0, 0});
    parent.Trans->Rotation = RotationZ(kPi / 2);
    KaGeometry& child = at("child", {5, 3, 0});
    parent.AddChild(child);
    scene().UpdateRoots();
    document->Select({"child"});
    ASSERT_EQ(ApplyCoordinateText(*document, GizmoAxis::X, "8"), std::nullopt);
    // At once, and after the parent placed it again.
    expectNear(child.Trans->Position, {8, 3, 0});
    scene().UpdateRoots();
    expectNear(child.Trans->Position, {8, 3, 0});
    document->Undo();
    scene().UpdateRoots();
    expectNear(child.Trans->Position, {5, 3, 0});
}

TEST_F(SelectionBoxesTest, TextThatIsNotANumberChangesNothingAndSaysSo)
{
    KaGeometry& box = at("box", {1, 2, 3});
    document->Select({"box"});
    for (const char* text : {"ab", "", "1.5x", "inf", "nan", "1e39"}) {
        const auto refusal = ApplyCoordinateText(*document, GizmoAxis::Y, text);
        ASSERT_TRUE(refusal) << text;
        EXPECT_THAT(*refusal, HasSubstr("не число")) << text;
    }
    EXPECT_EQ(box.Trans->Position, (Vector3{1, 2, 3}));
    EXPECT_FALSE(document->CanUndo());
}

TEST_F(SelectionBoxesTest, TheSameValueIsNoStepAndNothingSelectedDoesNothing)
{
    at("box", {1, 2, 3});
    EXPECT_EQ(ApplyCoordinateText(*document, GizmoAxis::Y, "7"), std::nullopt);
    document->Select({"box"});
    EXPECT_EQ(ApplyCoordinateText(*document, GizmoAxis::Y, "2.000"), std::nullopt);
    EXPECT_FALSE(document->CanUndo());
}

TEST_F(SelectionBoxesTest, MinusNegatesTheWorldCoordinateOfARootAndOfAChild)
{
    KaGeometry& parent = at("parent", {4, 0, 0});
    KaGeometry& child = at("child", {6, -2, 1});
    parent.AddChild(child);
    document->Select({"child"});
    NegateCoordinate(*document, GizmoAxis::X);
    scene().UpdateRoots();
    expectNear(child.Trans->Position, {-6, -2, 1});
    document->Select({"parent"});
    NegateCoordinate(*document, GizmoAxis::X);
    scene().UpdateRoots();
    EXPECT_EQ(parent.Trans->Position.x, -4);
    // The child follows its parent, keeping its offset.
    expectNear(child.Trans->Position, {-14, -2, 1});
    document->ClearSelection();
    NegateCoordinate(*document, GizmoAxis::Y);
    EXPECT_EQ(document->UndoLabel(), "X объекта parent = -4.000");
}

TEST_F(SelectionBoxesTest, RenamingCarriesEveryLinkAndUndoesExactly)
{
    KaGeometry& parent = at("parent", {0, 0, 0});
    KaGeometry& box = at("box", {0, 0, 0});
    KaGeometry& child = at("child", {0, 0, 0});
    parent.AddChild(box);
    box.AddChild(child);
    document->Select({"box"});
    EXPECT_EQ(ApplyNameText(*document, "  crate  "), std::nullopt);
    EXPECT_EQ(box.Name(), "crate");
    EXPECT_THAT(parent.Children, ElementsAre("crate"));
    EXPECT_EQ(child.ParentName, "crate");
    EXPECT_EQ(document->Selection().SelectedName(), "crate");
    document->Undo();
    EXPECT_EQ(box.Name(), "box");
    EXPECT_THAT(parent.Children, ElementsAre("box"));
    EXPECT_EQ(child.ParentName, "box");
    EXPECT_EQ(document->Selection().SelectedName(), "box");
}

TEST_F(SelectionBoxesTest, TheActiveCameraStaysActiveWhenRenamed)
{
    add<KaCamera>("cam1");
    ActiveCameraName = "cam1";
    document->Select({"cam1"});
    EXPECT_EQ(ApplyNameText(*document, "Камера"), std::nullopt);
    EXPECT_EQ(ActiveCameraName, "Камера");
    ASSERT_NE(scene().ActiveCamera(), nullptr);
}

TEST_F(SelectionBoxesTest, NamesTheFilesCannotKeepOrThatAreTakenAreRefused)
{
    at("box", {0, 0, 0});
    at("taken", {0, 0, 0});
    document->Select({"box"});
    const std::string tooLong(256, 'a');
    const struct {
        std::string text;
        const char* reason;
    } refused[] = {{"", "пуст"},     {"   ", "пуст"},     {"名前", "1251"},
                   {tooLong, "255"}, {"taken", "занято"}, {" taken", "занято"}};
    for (const auto& [text, reason] : refused) {
        const auto refusal = ApplyNameText(*document, text);
        ASSERT_TRUE(refusal) << text;
        EXPECT_THAT(*refusal, HasSubstr(reason)) << text;
    }
    EXPECT_NE(scene().FindByName("box"), nullptr);
    EXPECT_FALSE(document->CanUndo());
    // 255 Cyrillic letters are 255 bytes in the code page: allowed.
    std::string cyrillic;
    for (int i = 0; i < 255; ++i)
        cyrillic += "ж";
    EXPECT_EQ(ApplyNameText(*document, cyrillic), std::nullopt);
    EXPECT_NE(scene().FindByName(cyrillic), nullptr);
}

TEST_F(SelectionBoxesTest, TheSameNameOrNoSelectionChangesNothing)
{
    at("box", {0, 0, 0});
    EXPECT_EQ(ApplyNameText(*document, "other"), std::nullopt);
    document->Select({"box"});
    EXPECT_EQ(ApplyNameText(*document, "box "), std::nullopt);
    EXPECT_FALSE(document->CanUndo());
    EXPECT_NE(scene().FindByName("box"), nullptr);
}

} // namespace
} // namespace ra7::editor
