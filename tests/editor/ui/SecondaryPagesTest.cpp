// The Secondaries, SkyBox and Bounds pages driven like a user: buttons,
// bars, check boxes and the spin box, with answers to the dialogs scripted
// and the Edit menu's undo. After each step the page must show what the
// engine holds.

#include "core/EditorDocument.h"
#include "core/SceneEditorState.h"
#include "editor/ui/MainWindowTest.h"
#include "effects/Ka7LensFlareList.h"
#include "render/Ka7Scene.h"
#include "ui/TPageHost.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

namespace ra7::editor {
namespace {

class SecondaryPages : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        startWithEditorData();
        for (const char* name : {"crate", "pillar"}) {
            auto geometry = std::make_unique<KaGeometry>();
            geometry->SetName(name);
            SceneObjects->Add(std::move(geometry));
        }
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        waitFrames(1);
    }
    EditorDocument& document() { return *form->Document(); }
    void show(const char* page) { ASSERT_TRUE(form->Pages().ShowPage(QString::fromLatin1(page))); }
    void press(const char* button) { find<QPushButton>(*form, button)->click(); }
    QString text(const char* label) { return find<QLabel>(*form, label)->text(); }
};

TEST_F(SecondaryPages, TheEleventhLensIsRefusedWithoutAskingAndUndoShowsAtOnce)
{
    show("secondaries");
    dialogs.answers = {std::string("glow")};
    press("FlareAdd");
    auto* flares = find<QListWidget>(*form, "FlareList");
    ASSERT_EQ(flares->count(), 1);
    EXPECT_TRUE(flares->item(0)->isSelected());
    EXPECT_EQ(find<QLineEdit>(*form, "IDName")->text(), QStringLiteral("glow"));
    for (int i = 0; i < kMaxLenses; ++i) {
        dialogs.answers = {std::nullopt}; // no texture
        press("LensAdd");
    }
    EXPECT_EQ(text("LensCount"), QStringLiteral("Count: 10"));
    const std::size_t asked = dialogs.questions.size();
    press("LensAdd");
    EXPECT_EQ(dialogs.questions.size(), asked) << "no dialog for a lens that cannot be added";
    EXPECT_TRUE(hasLine("! У блика glow уже 10 линз"));
    EXPECT_EQ(LensFlares->Find("glow")->LensCount, 10);
    action("ActionUndo")->trigger();
    EXPECT_EQ(text("LensCount"), QStringLiteral("Count: 9"));
}

TEST_F(SecondaryPages, ABarWritesItsLensAndTheDragIsOneStep)
{
    show("secondaries");
    dialogs.answers = {std::string("glow"), std::nullopt};
    press("FlareAdd");
    press("LensAdd");
    auto* lenses = find<QListWidget>(*form, "LensList");
    ASSERT_EQ(lenses->count(), 1);
    lenses->setCurrentRow(0);
    auto* size = find<QScrollBar>(*form, "LensSize");
    EXPECT_EQ(size->value(), 100);
    size->setValue(350);
    size->setValue(700);
    EXPECT_EQ(LensFlares->Find("glow")->Lenses[0].Size, 70);
    EXPECT_EQ(find<QScrollBar>(*form, "LensR")->value(), 100) << "the other bars keep their lens values";
    action("ActionUndo")->trigger();
    EXPECT_EQ(LensFlares->Find("glow")->Lenses[0].Size, 10);
    EXPECT_EQ(size->value(), 100);
}

TEST_F(SecondaryPages, TheVolumeNumberAndTheGizmoFollowTheSetAndAnotherSelectionUnticks)
{
    document().Select({"crate"});
    show("bounds");
    press("VolumeAdd");
    press("VolumeAdd");
    auto* number = find<QSpinBox>(*form, "VolumeNumber");
    EXPECT_EQ(number->maximum(), 2);
    EXPECT_EQ(number->value(), 2);
    auto* move = find<QCheckBox>(*form, "MoveWithGizmo");
    move->setChecked(true);
    EXPECT_EQ(document().Selection().Target(), (GizmoTarget{GizmoTarget::Kind::BoundsVolume, "crate", 2}));

    action("ActionUndo")->trigger(); // the set shrinks under the number
    EXPECT_EQ(number->maximum(), 1);
    EXPECT_EQ(number->value(), 1);
    EXPECT_EQ(document().Selection().Target(), (GizmoTarget{GizmoTarget::Kind::BoundsVolume, "crate", 1}));
    EXPECT_TRUE(document().Selection().Resolve(*SceneObjects));

    document().Select({"pillar"});
    EXPECT_FALSE(move->isChecked());
    EXPECT_EQ(document().Selection().Target().kind, GizmoTarget::Kind::Object);
    EXPECT_EQ(number->maximum(), 0);
}

TEST_F(SecondaryPages, ASkyFaceChangesOnlyWhenItsFileLoads)
{
    show("skybox");
    ra7::test::writeFile("sky_up.tga", std::string("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\40\10\377\0\0\377", 22));
    auto* up = find<QLineEdit>(*form, "SkyUp");
    dialogs.answers = {std::string((dir() / "sky_up.tga").string())};
    QTest::mouseDClick(up, Qt::LeftButton);
    EXPECT_EQ(up->text(), QStringLiteral("sky_up.tga"));
    EXPECT_NE(Scene->SkyUp, 0u);
    dialogs.answers = {std::nullopt};
    QTest::mouseDClick(up, Qt::LeftButton);
    EXPECT_EQ(up->text(), QStringLiteral("sky_up.tga")) << "a cancelled dialog changes nothing";
    EXPECT_NE(Scene->SkyUp, 0u);
    press("SkyClear");
    EXPECT_EQ(up->text(), QString());
    EXPECT_EQ(Scene->SkyUp, 0u);
    action("ActionUndo")->trigger();
    EXPECT_EQ(up->text(), QStringLiteral("sky_up.tga"));
}

} // namespace
} // namespace ra7::editor
