// Adding objects as a user does: the "Создать" menu and the page
// "Добавить", the particle count question, and the tree following.

#include "core/EditorDocument.h"
#include "core/NewObjects.h"
#include "editor/ui/MainWindowTest.h"
#include "effects/Ka7ParSystem.h"
#include "scene/SceneFile.h"
#include "ui/THierarchyPanel.h"
#include "ui/TKindPanel.h"
#include "ui/TPageHost.h"
#include "ui/TPropertiesPage.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>

namespace ra7::editor {
namespace {

using ::testing::ElementsAre;

class AddObjects : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        startWithEditorData();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    std::string selectedInTree()
    {
        const auto items = form->Hierarchy().Tree().selectedItems();
        return items.size() == 1 ? items.front()->text(0).toStdString() : std::string();
    }
    void click(const char* button)
    {
        form->ShowPage(QStringLiteral("add"));
        QTest::mouseClick(find<QPushButton>(*form, button), Qt::LeftButton);
    }
};

TEST_F(AddObjects, TheCreateMenuListsTheSixKindsEnabledInOrder)
{
    QMenu* create = find<QMenu>(*form, "MenuCreate");
    ASSERT_NE(create, nullptr);
    std::vector<std::string> items;
    for (QAction* action : create->actions()) {
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
        items.push_back(action->text().toStdString());
    }
    EXPECT_THAT(items, ElementsAre("Спрайт", "Источник света", "Геометрию", "Систему частиц",
                                   "Источник звука", "Камеру"));
}

TEST_F(AddObjects, EachKindThroughTheMenuIsAddedSelectedAndShownInTheTree)
{
    dialogs.answers = {std::string("25")};
    for (const char* id : {"Sprite", "Light", "Geometry", "ParSystem", "Sound", "Camera"})
        action((std::string("ActionCreate") + id).c_str())->trigger();
    // The editor's own "cam1" and "lig1" are there already.
    EXPECT_THAT(treeNames(), ::testing::IsSupersetOf({"spr1", "lig1_1", "Geom1", "par1", "Sound", "cam1_1"}));
    EXPECT_EQ(form->Document()->Selection().SelectedName(), "cam1_1");
    EXPECT_EQ(selectedInTree(), "cam1_1");
    EXPECT_EQ(static_cast<KaParSystem*>(SceneObjects->FindByName("par1"))->Count(), 25);
    for (const char* line :
         {"Спрайт добавлен...", "Источник света добавлен...", "Геометрия добавлена...",
          "Система частиц добавлена...", "Источник звука добавлен...", "Камера добавлена..."})
        EXPECT_TRUE(hasLine(std::string("  ") + line)) << line;
    EXPECT_EQ(dialogs.questions, (std::vector<std::string>{kParticleCountTitle}));
}

TEST_F(AddObjects, EachButtonOfThePageAddsItsKindAndThePropertiesShowIt)
{
    const std::pair<const char*, KaObjKind> buttons[] = {
        {"AddSprite", KaObjKind::Sprite},     {"AddLight", KaObjKind::Light},
        {"AddGeometry", KaObjKind::Geometry}, {"AddParSystem", KaObjKind::ParSystem},
        {"AddSound", KaObjKind::Sound},       {"AddCamera", KaObjKind::Camera}};
    auto& properties = *find<TPropertiesPage>(*form, "PropertiesPage");
    for (const auto& [button, kind] : buttons) {
        dialogs.answers = {std::string("7")};
        const std::int32_t before = SceneObjects->Count();
        click(button);
        ASSERT_EQ(SceneObjects->Count(), before + 1) << button;
        const KaSceneObj* added = SceneObjects->GetItem(before);
        EXPECT_EQ(added->Kind(), kind) << button;
        EXPECT_EQ(form->Document()->Selection().SelectedName(), added->Name());
        EXPECT_EQ(selectedInTree(), added->Name());
        ASSERT_NE(properties.ShownPanel(), nullptr) << button;
        EXPECT_EQ(properties.ShownPanel()->Kind(), kind) << button;
    }
    EXPECT_EQ(static_cast<KaParSystem*>(SceneObjects->FindByName("par1"))->Count(), 7);
    // One step each: six undos take every one of them back.
    for (int i = 0; i < 6; ++i)
        form->Document()->Undo();
    EXPECT_EQ(SceneObjects->FindByName("spr1"), nullptr);
    EXPECT_EQ(properties.KindLabel().text(), QStringLiteral("нет выбранных объектов"));
}

TEST_F(AddObjects, ThreeSpritesFromThePageAndUndoTakesTheLastBack)
{
    for (int i = 0; i < 3; ++i)
        click("AddSprite");
    EXPECT_THAT(treeNames(), ::testing::IsSupersetOf({"spr1", "spr1_1", "spr1_2"}));
    EXPECT_EQ(selectedInTree(), "spr1_2");
    // The tree's commands act on the new object, not on what was selected before.
    form->Hierarchy().DeleteSelection();
    EXPECT_EQ(SceneObjects->FindByName("spr1_2"), nullptr);
    EXPECT_NE(SceneObjects->FindByName("spr1_1"), nullptr);
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(SceneObjects->FindByName("spr1_2"), nullptr);
    EXPECT_NE(SceneObjects->FindByName("spr1_1"), nullptr);
    EXPECT_EQ(selectedInTree(), "spr1_1");
}

TEST_F(AddObjects, TheParticleCountQuestionAddsOnlyForACountInRange)
{
    const std::int32_t before = SceneObjects->Count();
    dialogs.answers = {std::nullopt, std::string("0"), std::string("abc"), std::string("-5"),
                       std::to_string(kMaxParticleCount + 1)};
    for (int i = 0; i < 5; ++i)
        click("AddParSystem");
    EXPECT_EQ(SceneObjects->Count(), before);
    EXPECT_EQ(dialogs.messages.size(), 3u); // cancel and 0 say nothing; the rest say why
    EXPECT_FALSE(form->Document()->CanUndo());

    dialogs.answers = {std::to_string(kMaxParticleCount)};
    click("AddParSystem");
    auto* system = dynamic_cast<KaParSystem*>(SceneObjects->FindByName("par1"));
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->Count(), kMaxParticleCount);
}

TEST_F(AddObjects, TheLoadButtonOfThePageLoadsAScene)
{
    writeScene(dir() / "level.kgf", {{"crate", "crate.mes"}});
    dialogs.answers = {(dir() / "level.kgf").string()};
    click("LoadKgfButton");
    EXPECT_NE(SceneObjects->FindByName("crate"), nullptr);
}

} // namespace
} // namespace ra7::editor
