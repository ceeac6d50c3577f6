// The tree's edits through the document: exact undo of slots, child order
// and links; the guards against loops and partial attaches; selection order.

#include "core/ObjectCommands.h"
#include "core/EditorDocument.h"
#include "core/SceneCommands.h"
#include "core/TreeEdits.h"
#include "effects/Ka7Light.h"
#include "engine/SceneTestSupport.h"
#include "resources/DrawState.h"
#include "runtime/Errors.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/SceneFile.h"

#include <gmock/gmock.h>

namespace ra7::editor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Everything an undo must give back, slot by slot.
struct SlotState {
    std::string name;
    std::string parent;
    std::vector<std::string> children;
    Vector3 world;
    Vector3 local;
    bool operator==(const SlotState&) const = default;
};

class TreeEditsTest : public ra7::test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        document = std::make_unique<EditorDocument>(scene());
    }

    std::vector<SlotState> state() const
    {
        std::vector<SlotState> slots;
        for (std::int32_t i = 0; i < SceneObjects->Count(); ++i) {
            const KaSceneObj& object = *SceneObjects->GetItem(i);
            slots.push_back({object.Name(), object.ParentName, object.Children, object.Trans->Position,
                             object.LocalTrans->Position});
        }
        return slots;
    }
    KaGeometry& at(const std::string& name, Vector3 position)
    {
        KaGeometry& object = add<KaGeometry>(name);
        object.Trans->Position = position;
        return object;
    }

    std::unique_ptr<EditorDocument> document;
};

void PrintTo(const SlotState& slot, std::ostream* out)
{
    *out << slot.name << " (parent " << slot.parent << ", " << slot.children.size() << " children)";
}

TEST_F(TreeEditsTest, UndoingADeletionRestoresSlotsChildOrderLinksAndTheLight)
{
    KaGeometry& parent = at("parent", {1, 0, 0});
    for (const char* name : {"c1", "c2", "c3"})
        parent.AddChild(at(name, {2, 0, 0}));
    KaGeometry& grand = at("grand", {3, 3, 3});
    add<KaCamera>("eye");
    add<KaLight>("lamp");
    scene().FindByName("c2")->AddChild(grand);
    ActiveCameraName = "eye";
    CurrentLightName = "lamp";
    const auto before = state();

    // c1's removal moves c3 into its place in the child list; parent's removal
    // moves the last object into slot 0 and leaves c2 and c3 as roots.
    document->Select({"c1", "parent", "lamp"});
    EXPECT_THAT(DeleteSelected(*document), IsEmpty());
    EXPECT_EQ(scene().FindByName("parent"), nullptr);
    EXPECT_EQ(scene().FindByName("c2")->ParentName, "");
    EXPECT_EQ(scene().FindByName("grand")->ParentName, "c2");
    EXPECT_THAT(document->Selection().Names(), IsEmpty());
    const auto afterDelete = state();

    document->Undo();
    EXPECT_EQ(state(), before);
    EXPECT_THAT(document->Selection().Names(), ElementsAre("c1", "parent", "lamp"));
    document->Redo();
    EXPECT_EQ(state(), afterDelete);
    document->Undo();
    EXPECT_EQ(state(), before);
    // The world placement survives the round trip: an update moves nobody.
    scene().UpdateRoots();
    EXPECT_EQ(state(), before);
}

TEST_F(TreeEditsTest, TheActiveCameraIsKeptAndTheRefusalSaysWhy)
{
    add<KaCamera>("eye");
    at("box", {});
    ActiveCameraName = "eye";
    document->Select({"eye", "box"});
    const auto refusals = DeleteSelected(*document);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_NE(refusals.front().find("eye"), std::string::npos);
    EXPECT_NE(scene().FindByName("eye"), nullptr);
    EXPECT_EQ(scene().FindByName("box"), nullptr);
}

TEST_F(TreeEditsTest, RenameCarriesEveryLinkAndUndoBringsThemBack)
{
    KaGeometry& parent = at("parent", {});
    KaCamera& eye = add<KaCamera>("eye");
    KaGeometry& child = at("child", {});
    parent.AddChild(eye);
    eye.AddChild(child);
    ActiveCameraName = "eye";
    document->Select({"child", "eye"});
    const auto before = state();

    document->Execute(std::make_unique<RenameObjectCommand>(*document, "eye", "view"));
    EXPECT_THAT(parent.Children, ElementsAre("view"));
    EXPECT_EQ(child.ParentName, "view");
    EXPECT_EQ(ActiveCameraName, "view");
    EXPECT_THAT(document->Selection().Names(), ElementsAre("child", "view"));
    document->Undo();
    EXPECT_EQ(state(), before);
    EXPECT_EQ(ActiveCameraName, "eye");
    EXPECT_THAT(document->Selection().Names(), ElementsAre("child", "eye"));
    // A rename onto a taken name fails whole instead of making two objects one.
    EXPECT_THROW(document->Execute(std::make_unique<RenameObjectCommand>(*document, "eye", "child")), Error);
    EXPECT_EQ(state(), before);
}

TEST_F(TreeEditsTest, AttachKeepsPlacesSkipsListedChildrenAndRefusesLoops)
{
    KaGeometry& a = at("a", {5, 0, 0});
    KaGeometry& b = at("b", {10, 0, 0});
    KaGeometry& c = at("c", {0, 7, 0});
    a.AddChild(b);
    const auto before = state();

    // b is already a's child (nothing to do), c is attached where it stands.
    document->Select({"a", "b", "c"});
    EXPECT_THAT(AttachSelected(*document), IsEmpty());
    EXPECT_THAT(a.Children, ElementsAre("b", "c"));
    scene().UpdateRoots();
    EXPECT_EQ(c.Trans->Position, (Vector3{0, 7, 0}));
    EXPECT_EQ(b.Trans->Position, (Vector3{10, 0, 0}));

    // c first, then its parent a: a would become its own grandchild.
    document->Select({"c", "a"});
    const auto refusals = AttachSelected(*document);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_THAT(c.Children, IsEmpty());
    EXPECT_EQ(a.ParentName, "");

    document->Undo();
    EXPECT_EQ(state(), before);
}

TEST_F(TreeEditsTest, DetachLeavesObjectsWhereTheyStandAndUndoRestoresTheChildOrder)
{
    KaGeometry& p = at("p", {1, 1, 1});
    for (const char* name : {"x", "y", "z"})
        p.AddChild(at(name, {4, 0, 0}));
    p.Trans->Position = {2, 2, 2};
    scene().UpdateRoots();
    const auto before = state();
    document->Select({"x", "p"});
    DetachSelected(*document);
    EXPECT_THAT(p.Children, ElementsAre("z", "y"));
    scene().UpdateRoots();
    EXPECT_EQ(scene().FindByName("x")->Trans->Position, (Vector3{5, 1, 1}));
    document->Undo();
    EXPECT_EQ(state(), before);
}

TEST_F(TreeEditsTest, DuplicateCopiesOneLevelAsNewTopLevelObjects)
{
    KaGeometry& parent = at("parent", {1, 2, 3});
    KaGeometry& kid1 = at("kid1", {4, 0, 0});
    KaGeometry& kid2 = at("kid2", {0, 4, 0});
    KaGeometry& grand = at("grand", {9, 9, 9});
    parent.AddChild(kid1);
    parent.AddChild(kid2);
    kid1.AddChild(grand);
    const auto before = state();

    document->Select({"parent"});
    DuplicateSelected(*document);
    ASSERT_EQ(scene().Count(), 7);
    const KaSceneObj& copy = *scene().FindByName("parent_1");
    EXPECT_EQ(copy.ParentName, "");
    EXPECT_THAT(copy.Children, ElementsAre("kid1_1", "kid2_1"));
    // The copied child does not claim the grandchild, which stays with kid1.
    EXPECT_THAT(scene().FindByName("kid1_1")->Children, IsEmpty());
    EXPECT_EQ(grand.ParentName, "kid1");
    EXPECT_THAT(document->Selection().Names(), ElementsAre("parent_1"));
    scene().UpdateRoots();
    EXPECT_EQ(scene().FindByName("kid2_1")->Trans->Position, (Vector3{0, 4, 0}));
    const auto afterDuplicate = state();

    document->Undo();
    EXPECT_EQ(state(), before);
    document->Redo();
    EXPECT_EQ(state(), afterDuplicate);
}

TEST_F(TreeEditsTest, TheSelectionKeepsClickOrderWhatEverOrderTheTreeReports)
{
    at("a", {});
    at("b", {});
    at("c", {});
    document->Select({"c"});
    document->FollowSelection({"a", "c"}); // Ctrl+click on a, the tree lists top to bottom
    document->FollowSelection({"a", "b", "c"});
    EXPECT_THAT(document->Selection().Names(), ElementsAre("c", "a", "b"));
    EXPECT_EQ(document->Selection().SelectedName(), "c");
    document->FollowSelection({"b"}); // a plain click
    EXPECT_THAT(document->Selection().Names(), ElementsAre("b"));
    scene().DeleteByName("b"); // a script deleted it
    document->Poll();
    EXPECT_THAT(document->Selection().Names(), IsEmpty());
}

TEST_F(TreeEditsTest, TheGizmoTargetIsLookedUpAgainAndGoesWithItsObject)
{
    KaGeometry& box = at("box", {1, 0, 0});
    document->Select({"box"});
    document->SetGizmoTarget({GizmoTarget::Kind::BoundsVolume, "box", 0});
    ResolvedTarget target = document->Selection().Resolve(scene());
    ASSERT_TRUE(target);
    EXPECT_EQ(target.edit, &box.Bounds->Main->LocalTrans);
    // A volume that no longer exists, or an object gone, resolves to nothing.
    document->SetGizmoTarget({GizmoTarget::Kind::BoundsVolume, "box", 3});
    EXPECT_FALSE(document->Selection().Resolve(scene()));
    document->Select({"box"});
    scene().DeleteByName("box");
    EXPECT_FALSE(document->Selection().Resolve(scene()));
}

TEST_F(TreeEditsTest, TheEditorsCameraAndLightMakeWaySoALoadedSceneKeepsItsNames)
{
    // A scene whose camera and light carry the editor's own names.
    {
        KaObjArray file;
        for (const char* name : {"cam1", "lig1", "cam1_1"}) {
            std::unique_ptr<KaSceneObj> object =
                std::string(name).starts_with("cam")
                    ? std::unique_ptr<KaSceneObj>(std::make_unique<KaCamera>())
                    : std::make_unique<KaLight>();
            object->SetName(name);
            file.Add(std::move(object));
        }
        file.FindByName("cam1")->AddChild(*file.FindByName("lig1"));
        file.SaveObjects("level.kgf", {0, 1, 2}, {});
    }
    add<KaCamera>("cam1");
    add<KaLight>("lig1");
    ActiveCameraName = "cam1";
    document->SetEditorObjects({"cam1", "lig1"});

    const auto renames = MakeWayForLoadedNames(scene(), "level.kgf", document->EditorObjects());
    document->EditorObjectsRenamed(renames);
    EXPECT_THAT(document->EditorObjects(), ElementsAre("cam1_2", "lig1_1")); // cam1_1 is the file's
    EXPECT_EQ(ActiveCameraName, "cam1_2"); // the view keeps looking through the editor's camera
    const std::int32_t first = scene().Count();
    scene().LoadFromFile("level.kgf");
    EXPECT_EQ(scene().FindByName("lig1")->ParentName, "cam1");

    scene().SaveObjects("again.kgf", {first, first + 1, first + 2}, {});
    EXPECT_THAT(ReadSceneNameTable("again.kgf"), ElementsAre("cam1", "lig1", "cam1_1"));
    // A second load of the same file merges as before: the file's objects are the user's now.
    EXPECT_THAT(MakeWayForLoadedNames(scene(), "level.kgf", {"cam1_2"}), IsEmpty());
}

} // namespace
} // namespace ra7::editor
