// The hierarchy tree built from the object array.

#include "core/SceneTree.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7Sound.h"
#include "engine/TestSupport.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <gtest/gtest.h>

namespace ra7::editor {
namespace {

using Names = std::vector<std::string>;

class SceneTreeTest : public ra7::test::ConsoleTest {
protected:
    template <class T = KaGeometry>
    KaSceneObj& add(const std::string& name)
    {
        auto object = std::make_unique<T>();
        object->SetName(name);
        return *scene.Add(std::move(object));
    }

    KaObjArray scene;
};

TEST_F(SceneTreeTest, RootsInSlotOrderWithChildrenInListOrder)
{
    KaSceneObj& a = add("a");
    add<KaLight>("top");
    KaSceneObj& b = add("b");
    KaSceneObj& c = add<KaCamera>("c");
    a.AddChild(c);
    a.AddChild(b);
    const auto roots = BuildTree(scene);
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_EQ(roots[0].name, "a");
    EXPECT_EQ(roots[1].name, "top");
    EXPECT_EQ(roots[1].image, NodeImage::Light);
    ASSERT_EQ(roots[0].children.size(), 2u);
    EXPECT_EQ(roots[0].children[0].name, "c");
    EXPECT_EQ(roots[0].children[0].image, NodeImage::Camera);
    EXPECT_EQ(TreeNames(roots), (Names{"a", "c", "b", "top"}));
}

TEST_F(SceneTreeTest, GrandchildrenHangUnderTheirOwnParent)
{
    KaSceneObj& a = add("a");
    KaSceneObj& b = add("b");
    KaSceneObj& c = add<KaSound>("c");
    b.AddChild(c);
    a.AddChild(b);
    const auto roots = BuildTree(scene);
    ASSERT_EQ(roots.size(), 1u);
    EXPECT_EQ(roots[0].children[0].children[0].image, NodeImage::Sound);
    EXPECT_EQ(TreeNames(roots), (Names{"a", "b", "c"}));
}

TEST_F(SceneTreeTest, UnresolvedChildNamesAreSkipped)
{
    KaSceneObj& a = add("a");
    a.Children = {"ghost", "b"};
    add("b").ParentName = "a";
    EXPECT_EQ(TreeNames(BuildTree(scene)), (Names{"a", "b"}));
}

TEST_F(SceneTreeTest, AnObjectNamingAParentThatDoesNotListItIsShownNowhere)
{
    add("a");
    add("orphan").ParentName = "a";
    add("lost").ParentName = "nobody";
    EXPECT_EQ(TreeNames(BuildTree(scene)), (Names{"a"}));
}

TEST_F(SceneTreeTest, DamagedChildListsNeitherLoopNorRepeat)
{
    // A file may list a child twice, or list an object that names another
    // parent, or list its own parent: each object still appears once.
    KaSceneObj& a = add("a");
    KaSceneObj& b = add("b");
    KaSceneObj& c = add("c");
    b.ParentName = "a";
    c.ParentName = "b";
    a.Children = {"b", "b", "c"};
    b.Children = {"c", "a"};
    c.Children = {"a", "b"};
    EXPECT_EQ(TreeNames(BuildTree(scene)), (Names{"a", "b", "c"}));
}

TEST_F(SceneTreeTest, DuplicateRootNamesAppearOnce)
{
    add("twin");
    add("twin");
    EXPECT_EQ(TreeNames(BuildTree(scene)), (Names{"twin"}));
}

} // namespace
} // namespace ra7::editor
