// The Bounds page's rules: a change of kind keeps the placement, the limit
// of 50 further shapes, copying and deleting, PHZ files (round trip, a file
// that is not one, a damaged one), the number and the gizmo target after
// the set shrank, typed offsets and gizmo drags that last past the next
// update, merged radius moves, and a camera's sphere.

#include "core/BoundsEdits.h"
#include "core/EditorDocument.h"
#include "core/PlacementCommands.h"
#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "engine/SceneTestSupport.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"

#include <gmock/gmock.h>

namespace ra7::editor {
namespace {

using ::testing::HasSubstr;
using ::testing::Optional;

class BoundsEditsTest : public ra7::test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        document = std::make_unique<EditorDocument>(scene());
        box = &add<KaGeometry>("box");
        box->Trans->Position = {10, 0, 0};
        document->Select({"box"});
    }
    KaBoundingVolume& set() { return *box->Bounds; }
    GizmoTarget volume(std::int32_t number) { return {GizmoTarget::Kind::BoundsVolume, "box", number}; }
    std::unique_ptr<EditorDocument> document;
    KaGeometry* box = nullptr;
};

TEST_F(BoundsEditsTest, ChangingAFurtherShapesKindKeepsItsPlacementAndUndoBringsTheOldShapeBack)
{
    ASSERT_EQ(AddVolume(*document, "box", KaShapeKind::Sphere), std::nullopt);
    ASSERT_EQ(SetShapeOffsetText(*document, volume(1), GizmoAxis::Y, "2,5"), std::nullopt);
    ASSERT_EQ(SetShapeRadius(*document, volume(1), 4), std::nullopt);
    ASSERT_EQ(ChangeVolumeKind(*document, "box", 1, KaShapeKind::AABB), std::nullopt);
    EXPECT_EQ(set().Item(0).Kind(), KaShapeKind::AABB);
    EXPECT_EQ(set().Item(0).LocalTrans.Position, (Vector3{0, 2.5f, 0}));
    document->Undo();
    ASSERT_EQ(set().Item(0).Kind(), KaShapeKind::Sphere);
    EXPECT_EQ(static_cast<KaBoundingSphere&>(set().Item(0)).Radius, 4);
    EXPECT_NE(ChangeVolumeKind(*document, "box", 0, KaShapeKind::Sphere), std::nullopt)
        << "the main box stays a box";
}

TEST_F(BoundsEditsTest, TheFiftyFirstShapeIsRefusedBeforeTheEngineRaises)
{
    for (int i = 0; i < kMaxBoundingShapes; ++i)
        ASSERT_EQ(AddVolume(*document, "box", KaShapeKind::Point), std::nullopt);
    EXPECT_THAT(AddVolume(*document, "box", KaShapeKind::Point), Optional(HasSubstr("50")));
    EXPECT_THAT(CopyVolume(*document, "box", 1), Optional(HasSubstr("50")));
    EXPECT_EQ(set().Count(), kMaxBoundingShapes);
}

TEST_F(BoundsEditsTest, CopyAndDeleteWorkOnFurtherShapesOnlyAndAreUndone)
{
    EXPECT_NE(CopyVolume(*document, "box", 0), std::nullopt) << "nothing to copy yet";
    ASSERT_EQ(AddVolume(*document, "box", KaShapeKind::AABB), std::nullopt);
    ASSERT_EQ(SetShapeSizeText(*document, volume(1), GizmoAxis::Z, "3"), std::nullopt);
    ASSERT_EQ(CopyVolume(*document, "box", 1), std::nullopt);
    ASSERT_EQ(set().Count(), 2);
    EXPECT_EQ(static_cast<KaBoundingAABB&>(set().Item(1)).Size, (Vector3{1, 1, 3}));
    EXPECT_NE(DeleteVolume(*document, "box", 0), std::nullopt);
    ASSERT_EQ(DeleteVolume(*document, "box", 1), std::nullopt);
    EXPECT_EQ(set().Count(), 1);
    document->Undo();
    EXPECT_EQ(set().Count(), 2);
    add<KaLight>("lamp");
    EXPECT_NE(AddVolume(*document, "lamp", KaShapeKind::Sphere), std::nullopt);
}

TEST_F(BoundsEditsTest, APhzFileReadsBackIntactAndLoadingIsOneStep)
{
    ASSERT_EQ(AddVolume(*document, "box", KaShapeKind::Sphere), std::nullopt);
    ASSERT_EQ(AddVolume(*document, "box", KaShapeKind::AABB), std::nullopt);
    ASSERT_EQ(SetShapeOffsetText(*document, volume(2), GizmoAxis::X, "-1.5"), std::nullopt);
    ASSERT_EQ(SaveVolumes(*document, "box", "hull.phz"), std::nullopt);
    const VolumeSetState saved = CaptureVolumes(set());

    ASSERT_EQ(DeleteVolume(*document, "box", 1), std::nullopt);
    ASSERT_EQ(LoadVolumes(*document, "box", "hull.phz"), std::nullopt);
    const VolumeSetState loaded = CaptureVolumes(set());
    ASSERT_EQ(loaded.items.size(), 2u);
    EXPECT_EQ(loaded.items[1].local.Position, saved.items[1].local.Position);
    EXPECT_EQ(loaded.items[0].kind, KaShapeKind::Sphere);
    document->Undo();
    EXPECT_EQ(set().Count(), 1);
}

TEST_F(BoundsEditsTest, AFileThatIsNotAPhzOrIsCutShortIsRefusedAndChangesNothing)
{
    ASSERT_EQ(AddVolume(*document, "box", KaShapeKind::Sphere), std::nullopt);
    ASSERT_EQ(SaveVolumes(*document, "box", "one.phz"), std::nullopt);
    const std::string whole = ra7::test::readFile("one.phz");
    ra7::test::writeFile("cut.phz", whole.substr(0, whole.size() - 6));
    ra7::test::writeFile("text.phz", "this is not a volume file at all");

    EXPECT_THAT(LoadVolumes(*document, "box", "text.phz"), Optional(HasSubstr("не файл")));
    EXPECT_NE(LoadVolumes(*document, "box", "cut.phz"), std::nullopt);
    EXPECT_THAT(LoadVolumes(*document, "box", "none.phz"), Optional(HasSubstr("не найден")));
    EXPECT_EQ(set().Count(), 1);
    EXPECT_EQ(ra7::test::readFile("one.phz"), whole);
}

TEST_F(BoundsEditsTest, AfterTheSetShrankTheNumberComesBackAndTheGizmoFallsBackToTheObject)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(AddVolume(*document, "box", KaShapeKind::Sphere), std::nullopt);
    EXPECT_EQ(GizmoTargetFor(*document, "box", 3, true), volume(3));
    document->Undo();
    document->Undo();
    EXPECT_EQ(ClampVolumeNumber(3, set().Count()), 1);
    EXPECT_EQ(GizmoTargetFor(*document, "box", 3, true).kind, GizmoTarget::Kind::Object);
    EXPECT_EQ(GizmoTargetFor(*document, "box", 1, false).kind, GizmoTarget::Kind::Object);
    EXPECT_EQ(ShapeAt(*document, volume(3)), nullptr);
    EXPECT_EQ(ClampVolumeNumber(-1, 0), 0);
}

TEST_F(BoundsEditsTest, ATypedOffsetAndAGizmoDragOfAShapeLastPastTheNextUpdate)
{
    ASSERT_EQ(AddVolume(*document, "box", KaShapeKind::Sphere), std::nullopt);
    ASSERT_EQ(SetShapeOffsetText(*document, volume(1), GizmoAxis::Z, "4"), std::nullopt);
    scene().UpdateRoots();
    EXPECT_EQ(set().Item(0).WorldTrans.Position, (Vector3{10, 0, 4}));

    // A drag writes the offset, as the gizmo does on every move.
    document->SetGizmoTarget(volume(1));
    KaTransformation moved = set().Item(0).LocalTrans;
    moved.Position.x = 3;
    document->BeginGesture("drag");
    document->Execute(
        std::make_unique<PlacementCommand>(*document, volume(1), "drag", set().Item(0).LocalTrans, moved));
    document->CommitGesture();
    scene().UpdateRoots();
    scene().UpdateRoots();
    EXPECT_EQ(set().Item(0).WorldTrans.Position, (Vector3{13, 0, 4}));
    EXPECT_NE(SetShapeOffsetText(*document, volume(1), GizmoAxis::X, "left"), std::nullopt);
    EXPECT_EQ(set().Item(0).LocalTrans.Position.x, 3);
}

TEST_F(BoundsEditsTest, RadiusMovesMergeAndBadSizesAreRefused)
{
    ASSERT_EQ(AddVolume(*document, "box", KaShapeKind::Sphere), std::nullopt);
    for (int position : {10, 20, 300})
        ASSERT_EQ(SetShapeRadius(*document, volume(1), kRadiusBar.Value(position)), std::nullopt);
    EXPECT_EQ(static_cast<KaBoundingSphere&>(set().Item(0)).Radius, 30);
    document->Undo();
    EXPECT_EQ(static_cast<KaBoundingSphere&>(set().Item(0)).Radius, 2) << "the drag was one step";
    EXPECT_NE(SetShapeRadius(*document, volume(0), 3), std::nullopt) << "the main box has no radius";
    EXPECT_NE(SetShapeSizeText(*document, volume(0), GizmoAxis::X, "-1"), std::nullopt);
    EXPECT_NE(SetShapeSizeText(*document, volume(0), GizmoAxis::X, "inf"), std::nullopt);
    ASSERT_EQ(SetShapeSizeText(*document, volume(0), GizmoAxis::X, "2.25"), std::nullopt);
    EXPECT_EQ(static_cast<KaBoundingAABB&>(*set().Main).Size.x, 2.25f);
}

TEST_F(BoundsEditsTest, ACameraHasItsSphereAndAParticleSystemItsBox)
{
    auto& camera = add<KaCamera>("eye");
    ASSERT_EQ(SetCameraRadius(*document, "eye", 5), std::nullopt);
    EXPECT_EQ(camera.Bounds->Radius, 5);
    EXPECT_NE(SetCameraRadius(*document, "eye", -1), std::nullopt);
    document->Undo();
    EXPECT_EQ(camera.Bounds->Radius, 1);
    EXPECT_EQ(BoundsOwnerOf(*document, "eye"), BoundsOwner::Camera);

    auto& smoke = add<KaParSystem>("smoke", 4);
    EXPECT_EQ(BoundsOwnerOf(*document, "smoke"), BoundsOwner::ParticleSystem);
    const GizmoTarget target = ShapeTarget(*document, "smoke", 7);
    EXPECT_EQ(target.kind, GizmoTarget::Kind::ParticleBox);
    ASSERT_EQ(SetShapeOffsetText(*document, target, GizmoAxis::Y, "1"), std::nullopt);
    EXPECT_EQ(smoke.Bounds->LocalTrans.Position.y, 1);
    EXPECT_EQ(GizmoTargetFor(*document, "smoke", 0, true), target);
}

} // namespace
} // namespace ra7::editor
