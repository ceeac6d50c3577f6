// The hierarchy panel driven like a user: mouse clicks in the tree, keys,
// the popup, the buttons and the filter, with the Edit menu's undo and redo.
// After each step the tree must show what the scene holds.

#include "core/EditorDocument.h"
#include "core/SceneTree.h"
#include "editor/ui/MainWindowTest.h"
#include "ui/THierarchyPanel.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace ra7::editor {
namespace {

class HierarchyPanel : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        startWithEditorData();
        for (const char* name : {"crate", "pillar", "barrel"}) {
            auto geometry = std::make_unique<KaGeometry>();
            geometry->SetName(name);
            SceneObjects->Add(std::move(geometry));
        }
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        waitFrames(2);
        tree = &form->Hierarchy().Tree();
    }

    QTreeWidgetItem* item(const char* name)
    {
        const auto found = tree->findItems(QString::fromUtf8(name), Qt::MatchExactly | Qt::MatchRecursive);
        return found.size() == 1 ? found.front() : nullptr;
    }
    void click(const char* name, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTreeWidgetItem* target = item(name);
        ASSERT_NE(target, nullptr) << name;
        tree->scrollToItem(target);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, modifiers, tree->visualItemRect(target).center());
    }
    std::vector<std::string> selected() const { return form->Document()->Selection().Names(); }
    // The tree shows exactly the scene's hierarchy.
    void expectTreeMatchesScene() { EXPECT_EQ(treeNames(), TreeNames(BuildTree(*SceneObjects))); }

    QTreeWidget* tree = nullptr;
};

TEST_F(HierarchyPanel, ClicksSelectInClickOrderAndParentAttachesToTheFirst)
{
    click("pillar");
    click("barrel", Qt::ControlModifier);
    click("crate", Qt::ControlModifier);
    EXPECT_EQ(selected(), (std::vector<std::string>{"pillar", "barrel", "crate"}));
    find<QPushButton>(*form, "MODParent")->click();
    EXPECT_EQ(SceneObjects->FindByName("crate")->ParentName, "pillar");
    EXPECT_EQ(SceneObjects->FindByName("pillar")->Children, (std::vector<std::string>{"barrel", "crate"}));
    expectTreeMatchesScene();
    EXPECT_EQ(item("crate")->parent(), item("pillar"));

    click("crate");
    find<QPushButton>(*form, "MODUnParent")->click();
    EXPECT_EQ(SceneObjects->FindByName("crate")->ParentName, "");
    expectTreeMatchesScene();
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(SceneObjects->FindByName("crate")->ParentName, "pillar");
    expectTreeMatchesScene();
}

TEST_F(HierarchyPanel, DeleteUndoRedoAndDuplicateFromTheKeyboard)
{
    click("crate");
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Delete);
    EXPECT_EQ(SceneObjects->FindByName("crate"), nullptr);
    expectTreeMatchesScene();
    EXPECT_TRUE(form->isWindowModified());
    EXPECT_EQ(action("ActionUndo")->text(), QStringLiteral("Отменить Удалить crate"));

    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_NE(SceneObjects->FindByName("crate"), nullptr);
    expectTreeMatchesScene();
    EXPECT_EQ(selected(), std::vector<std::string>{"crate"});
    EXPECT_TRUE(item("crate")->isSelected());
    EXPECT_FALSE(form->isWindowModified());

    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(SceneObjects->FindByName("crate"), nullptr);
    QTest::keyClick(form.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(SceneObjects->FindByName("crate"), nullptr); // nothing left to redo
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);

    click("barrel");
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_D, Qt::ControlModifier);
    EXPECT_NE(SceneObjects->FindByName("barrel_1"), nullptr);
    EXPECT_EQ(selected(), std::vector<std::string>{"barrel_1"});
    expectTreeMatchesScene();
    QTest::keyClick(tree, Qt::Key_Escape);
    EXPECT_TRUE(selected().empty());
    EXPECT_TRUE(tree->selectedItems().isEmpty());
}

TEST_F(HierarchyPanel, ThePopupDeletesTheSelectionButKeepsTheActiveCamera)
{
    click("cam1");
    click("pillar", Qt::ControlModifier);
    action("ActionDeleteObjects")->trigger();
    EXPECT_NE(SceneObjects->FindByName("cam1"), nullptr);
    EXPECT_EQ(SceneObjects->FindByName("pillar"), nullptr);
    EXPECT_TRUE(hasLine("! Активная камера <cam1>"));
    EXPECT_FALSE(action("ActionGoToMaterial")->isEnabled()); // the camera left selected has no material
    expectTreeMatchesScene();
}

TEST_F(HierarchyPanel, TheFilterShowsMatchesWithTheirAncestorsAndKeepsTheSelection)
{
    click("crate");
    click("barrel", Qt::ControlModifier);
    find<QPushButton>(*form, "MODParent")->click();
    click("pillar");
    click("crate", Qt::ControlModifier);
    QTest::keyClicks(&form->Hierarchy().Filter(), "BARR");
    EXPECT_EQ(treeNames(), (std::vector<std::string>{"crate", "barrel"}));
    EXPECT_EQ(selected(), (std::vector<std::string>{"pillar", "crate"})); // pillar is hidden, not deselected
    form->Hierarchy().Filter().clear();
    expectTreeMatchesScene();
    EXPECT_TRUE(item("pillar")->isSelected());
}

TEST_F(HierarchyPanel, NewSceneAsksAboutUnsavedChangesFirst)
{
    click("crate");
    action("ActionDeleteObjects")->trigger();
    dialogs.saveChoices = {SaveChoice::Cancel};
    action("ActionNewScene")->trigger();
    EXPECT_NE(SceneObjects->FindByName("pillar"), nullptr); // cancelled: nothing lost
    dialogs.saveChoices = {SaveChoice::Discard};
    action("ActionNewScene")->trigger();
    EXPECT_EQ(treeNames(), (std::vector<std::string>{"cam1", "lig1"}));
    EXPECT_FALSE(action("ActionUndo")->isEnabled());
    EXPECT_FALSE(form->isWindowModified());
    EXPECT_EQ(ActiveCameraName, "cam1");
}

} // namespace
} // namespace ra7::editor
