// Dragging the gizmo through the document: roots, children under turned
// parents, bounding volumes and particle boxes, one undoable step per drag,
// Escape, and the targets that show no gizmo.

#include "core/EditorDocument.h"
#include "core/GizmoDrawing.h"
#include "core/GizmoState.h"
#include "core/PlacementCommands.h"
#include "effects/Ka7ParSystem.h"
#include "engine/SceneTestSupport.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"

#include <gmock/gmock.h>

#include <numbers>

namespace ra7::editor {
namespace {

using ::testing::ElementsAre;

constexpr float kPi = std::numbers::pi_v<float>;

void expectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectNear(const Matrix3& actual, const Matrix3& expected, float tolerance = 1e-4f)
{
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

class GizmoDragTest : public ra7::test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        add<KaCamera>("eye");
        ActiveCameraName = "eye";
        document = std::make_unique<EditorDocument>(scene());
    }

    KaGeometry& at(const std::string& name, Vector3 position)
    {
        KaGeometry& object = add<KaGeometry>(name);
        object.Trans->Position = position;
        return object;
    }

    static GizmoTarget objectTarget(const std::string& name) { return {GizmoTarget::Kind::Object, name, 0}; }

    // Presses on `axes` at `from`, moves through `path` and releases (or
    // presses Escape): what the view does, without the view.
    bool drag(const GizmoTarget& target, GrabbedAxes axes, ScreenPoint from, std::vector<ScreenPoint> path,
              bool escape = false)
    {
        const auto view = LookUpDragView(scene(), target);
        if (!view || !gizmo.BeginDrag(target, axes, from, *view))
            return false;
        document->BeginGesture(DragLabel(target, gizmo.DragMode() == GizmoMode::Rotate));
        for (const ScreenPoint point : path) {
            const auto now = LookUpDragView(scene(), target);
            if (!now)
                break;
            const KaTransformation after = gizmo.DragTo(point, *now);
            document->Execute(
                std::make_unique<PlacementCommand>(*document, target, "drag", now->edit, after));
        }
        gizmo.EndDrag();
        if (escape)
            document->CancelGesture();
        else
            document->CommitGesture();
        return true;
    }

    std::unique_ptr<EditorDocument> document;
    GizmoState gizmo;
};

constexpr GrabbedAxes kX{true, false, false};
constexpr GrabbedAxes kY{false, true, false};
constexpr GrabbedAxes kZ{false, false, true};

TEST_F(GizmoDragTest, TheRedArrowMovesARootAlongXByTheDescribedAmountAsOneStep)
{
    KaGeometry& box = at("box", {0, 0, -10});
    // Camera z 0 > box z −10: sX = −1; k = 10/550; 110 pixels right → +2.
    // (The distance is taken at every move; a move back to the press point is exact.)
    ASSERT_TRUE(drag(objectTarget("box"), kX, {100, 100}, {{100, 90}, {160, 130}, {100, 100}, {210, 100}}));
    expectNear(box.Trans->Position, {2, 0, -10});
    EXPECT_EQ(document->UndoLabel(), "Переместить box");
    document->Undo();
    EXPECT_EQ(box.Trans->Position, (Vector3{0, 0, -10}));
    EXPECT_FALSE(document->CanUndo());
    document->Redo();
    expectNear(box.Trans->Position, {2, 0, -10});
}

TEST_F(GizmoDragTest, EachAxisFollowsTheSideTheCameraStandsOn)
{
    KaGeometry& a = at("a", {0, 0, -10});
    KaGeometry& b = at("b", {0, 0, -10});
    KaGeometry& c = at("c", {0, 0, -10});
    scene().FindByName("eye")->Trans->Position = {-10, 0, -10}; // on the −x side, level in z
    // d = 10: 55 pixels are 1 unit. Up moves +y; right moves +z (sZ −1); right moves −x (sX +1).
    drag(objectTarget("a"), kY, {0, 100}, {{0, 45}});
    drag(objectTarget("b"), kZ, {0, 0}, {{55, 0}});
    drag(objectTarget("c"), kX, {0, 0}, {{55, 0}});
    expectNear(a.Trans->Position, {0, 1, -10});
    expectNear(b.Trans->Position, {0, 0, -9});
    expectNear(c.Trans->Position, {-1, 0, -10});
}

TEST_F(GizmoDragTest, ComingBackToThePressPointRestoresTheStartExactly)
{
    KaGeometry& box = at("box", {0.1f, 0.2f, -10.3f});
    const Vector3 start = box.Trans->Position;
    drag(objectTarget("box"), kZ, {300, 200}, {{317, 201}, {93, 411}, {300, 200}});
    EXPECT_EQ(box.Trans->Position, start);
}

TEST_F(GizmoDragTest, AChildUnderATurnedParentMovesAlongTheWorldAxisTheArrowShows)
{
    KaGeometry& parent = at("parent", {0, 0, -10});
    parent.Trans->Rotation = RotationY(kPi / 2);
    KaGeometry& child = at("child", {3, 1, -10});
    parent.AddChild(child);
    scene().UpdateRoots();
    expectNear(child.Trans->Position, {3, 1, -10});
    ASSERT_TRUE(drag(objectTarget("child"), kX, {0, 0}, {{110, 0}}));
    scene().UpdateRoots();
    // d = |(3, 1, −10)|; 110 pixels right with sX −1 move x by +110·d/550.
    const float d = std::sqrt(9.0f + 1.0f + 100.0f);
    expectNear(child.Trans->Position, {3 + 110 * d / 550, 1, -10});
    document->Undo();
    scene().UpdateRoots();
    expectNear(child.Trans->Position, {3, 1, -10});
}

TEST_F(GizmoDragTest, AChildCannotBeTurnedItsParentsRotationIsItsOwn)
{
    KaGeometry& parent = at("parent", {0, 0, -10});
    parent.AddChild(at("child", {2, 0, -10}));
    gizmo.SetMode(GizmoMode::Rotate);
    EXPECT_FALSE(drag(objectTarget("child"), kY, {0, 0}, {{20, 0}}));
    EXPECT_FALSE(gizmo.Dragging());
    EXPECT_TRUE(drag(objectTarget("parent"), kY, {0, 0}, {{20, 0}}));
}

TEST_F(GizmoDragTest, AChildWhoseParentIsGoneIsMovedByItsOwnPlacement)
{
    KaGeometry& orphan = at("orphan", {0, 0, -10});
    orphan.ParentName = "gone";
    drag(objectTarget("orphan"), kY, {0, 55}, {{0, 0}});
    expectNear(orphan.Trans->Position, {0, 1, -10});
}

TEST_F(GizmoDragTest, DraggingAVolumeWritesItsOffsetSoThatTheMoveLasts)
{
    KaGeometry& box = at("box", {3, 0, -10});
    box.Trans->Rotation = RotationZ(kPi / 2);
    box.Bounds->AddCopy(KaBoundingSphere(1));
    scene().UpdateRoots();
    const GizmoTarget main{GizmoTarget::Kind::BoundsVolume, "box", 0};
    const GizmoTarget sphere{GizmoTarget::Kind::BoundsVolume, "box", 1};
    const auto view = LookUpDragView(scene(), main);
    ASSERT_TRUE(view);
    // The gizmo stands at the volume, not at the press point of its owner.
    expectNear(view->placement.origin, {3, 0, -10});
    ASSERT_TRUE(drag(main, kY, {0, 110}, {{0, 0}}));
    const float step = 110 * view->placement.distance / 550;
    box.Update(); // the owner's next update places its volumes again
    expectNear(box.Bounds->Main->WorldTrans.Position, {3, step, -10});
    ASSERT_TRUE(drag(sphere, kX, {0, 0}, {{55, 0}}));
    box.Update();
    EXPECT_GT(box.Bounds->Item(0).WorldTrans.Position.x, 3.5f);
    EXPECT_NEAR(box.Bounds->Item(0).WorldTrans.Position.y, 0, 1e-4f);
    document->Undo();
    document->Undo();
    box.Update();
    expectNear(box.Bounds->Main->LocalTrans.Position, {0, 0, 0});
    expectNear(box.Bounds->Item(0).WorldTrans.Position, {3, 0, -10});
}

TEST_F(GizmoDragTest, AParticleSystemsBoxIsDraggedThroughItsOwnTarget)
{
    auto& sparks = add<KaParSystem>("sparks", 4);
    sparks.Trans->Position = {0, 0, -20};
    const GizmoTarget box{GizmoTarget::Kind::ParticleBox, "sparks", 0};
    ASSERT_TRUE(drag(box, kZ, {0, 0}, {{-55, 0}}));
    // d = 20; the camera's x is not past the box's: sZ −1; 55 pixels left: z −2.
    EXPECT_NEAR(sparks.Bounds->LocalTrans.Position.z, -2, 1e-4f);
    expectNear(sparks.Trans->Position, {0, 0, -20});
    EXPECT_EQ(document->UndoLabel(), "Переместить рамку частиц sparks");
}

TEST_F(GizmoDragTest, ASystemRebuiltDuringTheDragIsLookedUpAgainNotReadFromFreedMemory)
{
    // "parsetcount" replaces the particle system in its slot with a new one of the same name.
    add<KaParSystem>("sparks", 4).Trans->Position = {0, 0, -20};
    const GizmoTarget box{GizmoTarget::Kind::ParticleBox, "sparks", 0};
    const auto view = LookUpDragView(scene(), box);
    ASSERT_TRUE(view && gizmo.BeginDrag(box, kY, {0, 0}, *view));
    document->BeginGesture("drag");
    auto move = [&](ScreenPoint at) {
        const auto now = LookUpDragView(scene(), box);
        ASSERT_TRUE(now);
        document->Execute(
            std::make_unique<PlacementCommand>(*document, box, "drag", now->edit, gizmo.DragTo(at, *now)));
    };
    move({0, -55});
    auto rebuilt = std::make_unique<KaParSystem>(9);
    rebuilt->Assign(*scene().FindByName("sparks"));
    scene().SetItem(scene().IndexOfName("sparks"), std::move(rebuilt));
    move({0, -110});
    gizmo.EndDrag();
    document->CommitGesture();
    auto& now = static_cast<KaParSystem&>(*scene().FindByName("sparks"));
    EXPECT_EQ(now.Count(), 9);
    // The second move scales with the distance from where the box stood after the first.
    EXPECT_NEAR(now.Bounds->LocalTrans.Position.y, 110 * std::sqrt(404.0f) / 550, 1e-4f);
    document->Undo();
    EXPECT_NEAR(now.Bounds->LocalTrans.Position.y, 0, 1e-4f);
}

TEST_F(GizmoDragTest, EscapePutsEverythingBackAndLeavesNoStep)
{
    KaGeometry& box = at("box", {0, 0, -10});
    drag(objectTarget("box"), kY, {0, 0}, {{0, -30}, {0, -80}}, true);
    EXPECT_EQ(box.Trans->Position, (Vector3{0, 0, -10}));
    EXPECT_FALSE(document->CanUndo());
}

TEST_F(GizmoDragTest, ATurnAboutTheWorldYAxisIsOneStepOfTheDescribedAngle)
{
    KaGeometry& box = at("box", {0, 0, -55});
    gizmo.SetMode(GizmoMode::Rotate);
    gizmo.SetGlobalAxes(true);
    // k = 55/550 = 0.1 rad per pixel; 5 pixels left in two moves: −0.5 rad about y.
    drag(objectTarget("box"), kY, {50, 0}, {{48, 3}, {45, 9}});
    expectNear(box.Trans->Rotation, RotationY(-0.5f));
    EXPECT_EQ(document->UndoLabel(), "Повернуть box");
    document->Undo();
    EXPECT_EQ(box.Trans->Rotation, kIdentityMatrix3);
}

TEST_F(GizmoDragTest, TurningAboutTheOwnAxisKeepsThatAxis)
{
    KaGeometry& box = at("box", {0, 0, -25});
    box.Trans->Rotation = RotationX(0.7f);
    gizmo.SetMode(GizmoMode::Rotate);
    drag(objectTarget("box"), kZ, {0, 0}, {{0, 10}, {0, -4}});
    // The object's own z axis (its third row) is where it was.
    const Matrix3& r = box.Trans->Rotation;
    const Matrix3 before = RotationX(0.7f);
    EXPECT_NEAR(r[6], before[6], 1e-5f);
    EXPECT_NEAR(r[7], before[7], 1e-5f);
    EXPECT_NEAR(r[8], before[8], 1e-5f);
    const float moved = std::hypot(r[0] - before[0], r[1] - before[1], r[2] - before[2]);
    EXPECT_NEAR(moved, 2 * std::sin(0.2f), 1e-4f); // a turn of 0.4 rad in all
}

TEST_F(GizmoDragTest, AnObjectDeletedDuringTheDragHasNoGizmoAnyMore)
{
    at("box", {0, 0, -10});
    const auto view = LookUpDragView(scene(), objectTarget("box"));
    ASSERT_TRUE(gizmo.BeginDrag(objectTarget("box"), kX, {0, 0}, *view));
    scene().DeleteByName("box");
    EXPECT_FALSE(LookUpDragView(scene(), objectTarget("box")));
    // A command of the vanished object fails without touching anything.
    PlacementCommand late(*document, objectTarget("box"), "drag", {}, {});
    EXPECT_THROW(late.Do(), std::exception);
}

TEST_F(GizmoDragTest, WithoutAnActiveCameraThereIsNoGizmo)
{
    at("box", {0, 0, -10});
    ActiveCameraName.clear();
    EXPECT_FALSE(LookUpDragView(scene(), objectTarget("box")));
    EXPECT_FALSE(drag(objectTarget("box"), kX, {0, 0}, {{10, 0}}));
}

TEST_F(GizmoDragTest, TheActiveCameraItselfShowsNoGizmoAndStartsNoDrag)
{
    const auto view = LookUpDragView(scene(), objectTarget("eye"));
    ASSERT_TRUE(view);
    EXPECT_FALSE(view->placement.visible);
    EXPECT_FALSE(drag(objectTarget("eye"), kX, {0, 0}, {{10, 0}}));
}

TEST_F(GizmoDragTest, AStaticObjectsGizmoStandsAroundTheCamera)
{
    KaGeometry& sky = at("sky", {0, 0, -10});
    sky.Static = true;
    scene().FindByName("eye")->Trans->Position = {5, 0, 0};
    const auto view = LookUpDragView(scene(), objectTarget("sky"));
    ASSERT_TRUE(view);
    expectNear(view->placement.origin, {5, 0, -10});
    EXPECT_NEAR(view->placement.distance, 10, 1e-4f);
}

TEST(OutlineWalk, AHierarchyThatLoopsIsWalkedOnce)
{
    KaObjArray scene;
    for (const char* name : {"a", "b", "c", "lamp"}) {
        std::unique_ptr<KaSceneObj> object = std::make_unique<KaGeometry>();
        object->SetName(name);
        scene.Add(std::move(object));
    }
    // a → b → c → a, and b lists c twice and a name that is gone.
    scene.FindByName("a")->Children = {"b"};
    scene.FindByName("b")->Children = {"c", "c", "ghost"};
    scene.FindByName("c")->Children = {"a", "lamp"};
    EXPECT_THAT(DescendantGeometries(scene, "a"), ElementsAre("b", "c", "lamp"));
    EXPECT_THAT(DescendantGeometries(scene, "c"), ElementsAre("a", "b", "lamp"));
    EXPECT_TRUE(DescendantGeometries(scene, "ghost").empty());
}

} // namespace
} // namespace ra7::editor
