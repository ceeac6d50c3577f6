// Parent/child links: propagation of placements down the tree, attaching and
// detaching, and what deletion does to the links.
#include "engine/SceneTestSupport.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7Sound.h"
#include "runtime/Errors.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/SceneHierarchy.h"

#include <gmock/gmock.h>

#include <numbers>

namespace ra7 {
namespace {

using ::testing::ElementsAre;
using Hierarchy = test::SceneTest;

void expectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

TEST_F(Hierarchy, ChildOffsetIsAddedToTheParentPosition)
{
    auto& parent = add<KaGeometry>("parent");
    auto& child = add<KaGeometry>("child");
    parent.Trans->Position = {5, 0, 0};
    child.Trans->Position = {10, 0, 0};
    parent.AddChild(child);
    expectNear(child.LocalTrans->Position, {5, 0, 0}); // the child stays where it stands
    parent.Update();
    expectNear(child.Trans->Position, {10, 0, 0});
    parent.Trans->Position = {6, 1, 0};
    parent.Update();
    expectNear(child.Trans->Position, {11, 1, 0});
}

TEST_F(Hierarchy, AttachingUnderATurnedParentKeepsTheWorldPosition)
{
    auto& parent = add<KaGeometry>("parent");
    auto& child = add<KaGeometry>("child");
    parent.Trans->Position = {1, 2, 3};
    parent.Trans->Rotation = MatrixMultiply3(RotationZ(0.7f), RotationX(-1.1f));
    child.Trans->Position = {-4, 9, 2};
    parent.AddChild(child);
    parent.Update();
    expectNear(child.Trans->Position, {-4, 9, 2});
}

TEST_F(Hierarchy, AttachingAnAncestorBelowItsDescendantIsRefusedBeforeAnythingChanges)
{
    auto& a = add<KaGeometry>("a");
    auto& b = add<KaGeometry>("b");
    auto& c = add<KaGeometry>("c");
    a.AddChild(b);
    b.AddChild(c);
    EXPECT_THROW(c.AddChild(a), Error);
    EXPECT_THROW(a.AddChild(a), Error);
    EXPECT_TRUE(a.ParentName.empty());
    EXPECT_THAT(a.Children, ElementsAre("b"));
    EXPECT_THAT(c.Children, ElementsAre());
    EXPECT_EQ(c.ParentName, "b");
}

TEST_F(Hierarchy, ParentRotationTurnsTheOffsetAndReplacesTheChildRotation)
{
    auto& parent = add<KaGeometry>("parent");
    auto& child = add<KaGeometry>("child");
    parent.Trans->Position = {5, 0, 0};
    child.Trans->Position = {10, 0, 0};
    child.Trans->Rotation = RotationX(0.3f);
    parent.AddChild(child);
    parent.Trans->Rotation = RotationZ(std::numbers::pi_v<float> / 2);
    parent.Update();
    expectNear(child.Trans->Position, {5, 5, 0}); // the offset (5, 0, 0) turned a quarter about z
    EXPECT_EQ(child.Trans->Rotation, parent.Trans->Rotation);
    expectNear(child.PrevTrans->Position, {10, 0, 0}); // where it stood before this propagation
}

TEST_F(Hierarchy, PropagationRunsDepthFirstInChildOrder)
{
    // root → a → a1; root → b. a1's placement must be computed from a's new
    // placement of this same frame, which only depth-first order gives.
    auto& root = add<KaGeometry>("root");
    auto& a = add<KaGeometry>("a");
    auto& b = add<KaGeometry>("b");
    auto& a1 = add<KaGeometry>("a1");
    a.Trans->Position = {1, 0, 0};
    b.Trans->Position = {0, 1, 0};
    a1.Trans->Position = {0, 0, 1};
    root.AddChild(a);
    root.AddChild(b);
    a.AddChild(a1);
    root.Trans->Position = {100, 0, 0};
    root.Update();
    expectNear(a.Trans->Position, {101, 0, 0});
    expectNear(b.Trans->Position, {100, 1, 0});
    expectNear(a1.Trans->Position, {100, 0, 1}); // a's new place plus a1's offset (−1, 0, 1)
    scene().UpdateRoots();                       // a second frame changes nothing
    expectNear(a1.Trans->Position, {100, 0, 1});
}

TEST_F(Hierarchy, DeletingAParentLeavesItsChildrenAsRootsWhereTheyStand)
{
    auto& parent = add<KaGeometry>("parent");
    auto& child = add<KaGeometry>("child");
    parent.AddChild(child);
    child.Trans->Position = {7, 7, 7};
    parent.Trans->Position = {1, 1, 1};
    scene().DeleteByName("parent");
    EXPECT_EQ(child.ParentName, ""); // a root now, or nobody would update it
    scene().UpdateRoots();
    expectNear(child.Trans->Position, {7, 7, 7});
    // Nothing names the deleted parent any more, so the scene can be saved.
    EXPECT_NO_THROW(scene().SaveObjects("left.kgf", {0}, {}));
}

TEST_F(Hierarchy, AttachingToTheSameParentAgainChangesNothing)
{
    auto& parent = add<KaGeometry>("parent");
    auto& child = add<KaGeometry>("child");
    parent.AddChild(child);
    child.LocalTrans->Position = {3, 0, 0};
    EXPECT_NO_THROW(parent.AddChild(child));
    EXPECT_THAT(parent.Children, ElementsAre("child"));
    expectNear(child.LocalTrans->Position, {3, 0, 0});
}

TEST_F(Hierarchy, AttachingAListedNameIsRefused)
{
    auto& parent = add<KaGeometry>("parent");
    auto& child = add<KaGeometry>("child");
    parent.Children.push_back("child"); // listed, though the child does not know it
    EXPECT_THROW(
        {
            try {
                parent.AddChild(child);
            } catch (const Error& e) {
                EXPECT_STREQ(e.what(), "Array element already exists.");
                throw;
            }
        },
        Error);
    EXPECT_TRUE(child.ParentName.empty());
}

TEST_F(Hierarchy, AddChildMovesAnObjectBetweenParents)
{
    auto& first = add<KaGeometry>("first");
    auto& second = add<KaGeometry>("second");
    auto& x = add<KaGeometry>("x");
    auto& y = add<KaGeometry>("y");
    auto& z = add<KaGeometry>("z");
    first.AddChild(x);
    first.AddChild(y);
    first.AddChild(z);
    second.AddChild(add<KaLight>("lamp"));
    second.AddChild(x);
    EXPECT_THAT(first.Children, ElementsAre("z", "y")); // the last child filled the gap
    EXPECT_THAT(second.Children, ElementsAre("lamp", "x"));
    EXPECT_EQ(x.ParentName, "second");
}

TEST_F(Hierarchy, DeleteChildMovesTheLastIntoTheGapAndChecksTheIndex)
{
    KaGeometry object;
    object.Children = {"a", "b", "c"};
    object.DeleteChild(0);
    EXPECT_THAT(object.Children, ElementsAre("c", "b"));
    object.DeleteChild(1);
    EXPECT_THAT(object.Children, ElementsAre("c"));
    EXPECT_THROW(object.DeleteChild(1), Error);
    EXPECT_THAT(object.Children, ElementsAre("c"));
    EXPECT_EQ(object.IndexOfChild("C"), -1); // names are case-sensitive
}

TEST_F(Hierarchy, DeletingAChildRemovesItFromItsParentOnly)
{
    auto& parent = add<KaGeometry>("parent");
    auto& a = add<KaGeometry>("a");
    auto& b = add<KaGeometry>("b");
    auto& grandchild = add<KaGeometry>("grandchild");
    parent.AddChild(a);
    parent.AddChild(b);
    a.AddChild(grandchild);
    scene().DeleteByName("a");
    EXPECT_THAT(parent.Children, ElementsAre("b"));
    EXPECT_EQ(grandchild.ParentName, "");
}

TEST_F(Hierarchy, MovingTheLastObjectIntoAGapKeepsItsLinks)
{
    add<KaGeometry>("a");
    auto& parent = add<KaGeometry>("parent");
    auto& last = add<KaSound>("last");
    add<KaLight>("child");
    parent.AddChild(last);
    scene().DeleteByName("child");       // child is last: [a, parent, last]
    last.AddChild(add<KaLight>("lamp")); // [a, parent, last, lamp]
    scene().DeleteByName("a");           // lamp moves into slot 0
    EXPECT_EQ(scene().GetItem(0)->Name(), "lamp");
    EXPECT_THAT(parent.Children, ElementsAre("last"));
    EXPECT_THAT(last.Children, ElementsAre("lamp"));
    EXPECT_EQ(scene().FindByName("lamp")->ParentName, "last");
}

TEST_F(Hierarchy, InsertAtPutsBackWhatExtractTookSlotForSlot)
{
    for (const char* name : {"a", "b", "c", "d", "e"})
        add<KaGeometry>(name);
    auto order = [&] {
        std::vector<std::string> names;
        for (std::int32_t i = 0; i < scene().Count(); ++i)
            names.push_back(scene().GetItem(i)->Name());
        return names;
    };
    const std::vector<std::string> before = order();
    std::unique_ptr<KaSceneObj> b = scene().Extract("b");
    std::unique_ptr<KaSceneObj> d = scene().Extract("d"); // e moved into b's slot, then d's
    ASSERT_TRUE(b && d);
    EXPECT_EQ(b->Owner(), nullptr);
    EXPECT_EQ(scene().FindByName("b"), nullptr);
    scene().InsertAt(3, std::move(d));
    scene().InsertAt(1, std::move(b));
    EXPECT_EQ(order(), before);
    for (std::int32_t i = 0; i < scene().Count(); ++i)
        EXPECT_EQ(scene().IndexOfName(before[static_cast<std::size_t>(i)]), i);
    EXPECT_EQ(scene().Extract("nothing"), nullptr);
    EXPECT_THROW(scene().InsertAt(9, std::make_unique<KaGeometry>()), Error);
}

TEST_F(Hierarchy, RenameCarriesTheParentChildAndActiveCameraLinks)
{
    auto& parent = add<KaGeometry>("parent");
    auto& middle = add<KaCamera>("eye");
    auto& child = add<KaLight>("lamp");
    parent.AddChild(middle);
    middle.AddChild(child);
    ActiveCameraName = "eye";
    RenameObject(scene(), middle, "view");
    EXPECT_EQ(scene().FindByName("view"), &middle);
    EXPECT_EQ(scene().FindByName("eye"), nullptr);
    EXPECT_THAT(parent.Children, ElementsAre("view"));
    EXPECT_EQ(child.ParentName, "view");
    EXPECT_EQ(ActiveCameraName, "view");
    ActiveCameraName.clear();
}

TEST_F(Hierarchy, ALoopInADamagedHierarchyEndsTheUpdate)
{
    auto& a = add<KaGeometry>("a");
    auto& b = add<KaGeometry>("b");
    a.Children = {"a", "b", "missing"};
    b.Children = {"a"};
    a.Trans->Position = {1, 2, 3};
    b.LocalTrans->Position = {1, 0, 0};
    a.Update();
    expectNear(b.Trans->Position, {2, 2, 3});
}

TEST_F(Hierarchy, UpdateWithoutTransNamesTheObject)
{
    auto& geometry = add<KaGeometry>("box");
    geometry.Trans.reset();
    try {
        geometry.Update();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Trans = nil at <box>");
    }
}

} // namespace
} // namespace ra7
