// The 3-D view driven by mouse events on the real widget: clicking selects,
// the red arrow drags along x by the described amount and Ctrl+Z puts it
// back, a press beside the gizmo moves nothing, Ctrl flies the camera, and
// all of it with a multisampled view too. Then the boxes below the tree.

#include "core/ViewInput.h"
#include "DataGenerator.h"
#include "MeshShapes.h"
#include "core/EditorDocument.h"
#include "editor/ui/MainWindowTest.h"
#include "resources/Ka7MeshList.h"
#include "scene/Ka7Camera.h"
#include "ui/TGLView.h"
#include "ui/THierarchyPanel.h"
#include "ui/TSelectionPanel.h"
#include "ui/TViewControls.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <cmath>

namespace ra7::editor {
namespace {

void expectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

class ViewInputTest : public MainWindow {
protected:
    // The real helper scene (arrows and camera model with their meshes), and
    // a scene with a crate 10 units in front of the camera and a post beside
    // it, the post the crate's child.
    void startWithScene()
    {
        datagen::WriteHelperScene();
        auto mesh = std::make_unique<KaMesh>();
        datagen::AppendBox(*mesh, {0, 0, 0}, {1, 1, 1});
        datagen::SaveMesh(*datagen::FinishMesh(std::move(mesh), "crate.mes"));
        KaObjArray scene;
        for (const auto& [name, x] : {std::pair{"crate", 0.0f}, std::pair{"post", 4.0f}}) {
            auto geometry = std::make_unique<KaGeometry>();
            geometry->SetName(name);
            geometry->MeshName = "crate.mes";
            geometry->Trans->Position = {x, 0, -10};
            scene.Add(std::move(geometry));
        }
        scene.FindByName("crate")->AddChild(*scene.FindByName("post"));
        scene.SaveObjects("scene.kgf", {0, 1}, {"addmesh <crate.mes>"});

        ASSERT_EQ(start(), "");
        form->LoadSceneFile("scene.kgf");
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        waitFrames(2);
        input = form->ViewControls().Input();
        ASSERT_NE(input, nullptr);
        crate = SceneObjects->FindByName("crate");
        ASSERT_NE(crate, nullptr);
    }

    // Where a world point shows in the view widget (logical pixels).
    QPointF widgetPointOf(const Vector3& world)
    {
        const Viewport view = form->CurrentViewport();
        const Matrix4 m =
            MatrixMultiply4(SceneObjects->ActiveCamera()->Trans->ViewMatrix(), ProjectionFor(view));
        const float v[4] = {world.x, world.y, world.z, 1};
        float clip[4] = {};
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                clip[i] += m[static_cast<std::size_t>(j * 4 + i)] * v[j];
        const double ratio = form->View().devicePixelRatioF();
        const double fx = view.x + (clip[0] / clip[3] + 1.0) / 2 * view.width;
        const double fy = view.y + (clip[1] / clip[3] + 1.0) / 2 * view.height;
        const double height = form->View().height() * ratio;
        return {std::floor(fx) / ratio + 0.5, (height - 1 - std::floor(fy)) / ratio + 0.5};
    }

    void mouse(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget& view = form->View();
        QMouseEvent event(type, at, view.mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(&view, &event);
    }
    // Press, a few moves on the way, release: as a hand would drag.
    void dragBy(QPointF from, QPointF by, Qt::MouseButton button = Qt::LeftButton,
                Qt::KeyboardModifiers modifiers = Qt::NoModifier, Qt::MouseButtons also = Qt::NoButton)
    {
        mouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton, modifiers);
        mouse(QEvent::MouseButtonPress, from, button, button | also, modifiers);
        for (int step = 1; step <= 4; ++step)
            mouse(QEvent::MouseMove, from + by * (step / 4.0), Qt::NoButton, button | also, modifiers);
        mouse(QEvent::MouseButtonRelease, from + by, button, also, modifiers);
    }
    // A drag whose object stays where it started until the last move: the
    // distance the moves scale with is the start's. On the way the mouse goes
    // out and back to the press point, which puts the object back exactly.
    void dragOutBackAndBy(QPointF from, QPointF by)
    {
        mouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, from + QPointF(37, 21), Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, from, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, from + by, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, from + by, Qt::LeftButton, Qt::NoButton);
    }
    // Typing as a keyboard would, for any letters (QTest's key clicks know Latin only).
    static void type(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }
    void click(QPointF at)
    {
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    std::vector<std::string> treeSelection()
    {
        std::vector<std::string> names;
        for (QTreeWidgetItem* item : form->Hierarchy().Tree().selectedItems())
            names.push_back(item->text(0).toStdString());
        return names;
    }
    // The gizmo stands 14 units from the camera towards the crate.
    QPointF redArrow() { return widgetPointOf({0.8f, 0, -14}); }

    ViewInput* input = nullptr;
    KaSceneObj* crate = nullptr;
};

TEST_F(ViewInputTest, AClickSelectsTheObjectUnderItAndTheTreeFollows)
{
    startWithScene();
    click(widgetPointOf({0.3f, 0.2f, -9}));
    EXPECT_EQ(form->Document()->Selection().Names(), (std::vector<std::string>{"crate"}));
    EXPECT_EQ(treeSelection(), (std::vector<std::string>{"crate"}));
    click(widgetPointOf({4, 0, -9}));
    EXPECT_EQ(treeSelection(), (std::vector<std::string>{"post"}));
    // Shift adds; a click on nothing clears.
    mouse(QEvent::MouseButtonPress, widgetPointOf({0, 0, -9}), Qt::LeftButton, Qt::LeftButton,
          Qt::ShiftModifier);
    mouse(QEvent::MouseButtonRelease, widgetPointOf({0, 0, -9}), Qt::LeftButton, Qt::NoButton,
          Qt::ShiftModifier);
    EXPECT_EQ(form->Document()->Selection().Names(), (std::vector<std::string>{"post", "crate"}));
    click(widgetPointOf({-3, 2.5f, -10}));
    EXPECT_TRUE(form->Document()->Selection().Empty());
    EXPECT_TRUE(treeSelection().empty());
}

TEST_F(ViewInputTest, TheRedArrowDragsAlongXByTheExpectedAmountAndCtrlZPutsItBack)
{
    startWithScene();
    form->SelectObject("crate");
    waitFrames(1);
    // d = 10 and the camera is on the +z side: 110 pixels right are +2 units.
    dragOutBackAndBy(redArrow(), {110, 0});
    expectNear(crate->Trans->Position, {2, 0, -10});
    EXPECT_EQ(form->Document()->UndoLabel(), "Переместить crate");
    // The child follows its parent in the next scene update. A frame drawn
    // is not enough to wait for: the drag's own repaint can come first.
    const KaSceneObj* post = SceneObjects->FindByName("post");
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(post->Trans->Position.x - 6) < 1e-4f; }, 5000));
    expectNear(post->Trans->Position, {6, 0, -10});
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(crate->Trans->Position, (Vector3{0, 0, -10}));
    EXPECT_FALSE(form->Document()->CanUndo());
}

TEST_F(ViewInputTest, APressBesideTheGizmoMovesNothing)
{
    startWithScene();
    form->SelectObject("crate");
    waitFrames(1);
    dragBy(widgetPointOf({0.5f, 0.6f, -14}), {120, -40});
    EXPECT_EQ(crate->Trans->Position, (Vector3{0, 0, -10}));
    EXPECT_FALSE(form->Document()->CanUndo());
    EXPECT_EQ(form->Document()->Selection().SelectedName(), "crate") << "a drag is no click";
}

TEST_F(ViewInputTest, EscapeDuringADragPutsTheObjectBack)
{
    startWithScene();
    form->SelectObject("crate");
    waitFrames(1);
    const QPointF from = widgetPointOf({0, 0.8f, -14}); // the green arrow
    mouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, from + QPointF(0, -55), Qt::NoButton, Qt::LeftButton);
    expectNear(crate->Trans->Position, {0, 1, -10});
    QTest::keyClick(&form->View(), Qt::Key_Escape);
    EXPECT_EQ(crate->Trans->Position, (Vector3{0, 0, -10}));
    mouse(QEvent::MouseButtonRelease, from + QPointF(0, -55), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(crate->Trans->Position, (Vector3{0, 0, -10}));
    EXPECT_FALSE(form->Document()->CanUndo());
}

TEST_F(ViewInputTest, CtrlDragFliesTheCameraAndLeavesTheGizmoAlone)
{
    startWithScene();
    form->SelectObject("crate");
    waitFrames(1);
    KaCamera& camera = *SceneObjects->ActiveCamera();
    // Ctrl and the left button over the red arrow turn the camera only.
    dragBy(redArrow(), {40, 0}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(crate->Trans->Position, (Vector3{0, 0, -10}));
    EXPECT_FALSE(form->Document()->CanUndo());
    EXPECT_NEAR(input->Flight().Yaw(), 340.0f, 1e-3f);
    EXPECT_GT(EyeToWorld({0, 0, -1}, camera.Trans->Rotation).x, 0.2f) << "turned right";
    // Left and middle: along the view; down is back.
    const Vector3 before = camera.Trans->Position;
    dragBy(widgetPointOf({0, 2, -14}), {0, 30}, Qt::LeftButton, Qt::ControlModifier, Qt::MiddleButton);
    const Vector3 moved = VectorSub(camera.Trans->Position, before);
    EXPECT_NEAR(std::sqrt(VectorLengthSqr(moved)), 2, 1e-3f);
    EXPECT_NEAR(moved.z, 2 * std::cos(DegToRad(20)), 1e-3f);
}

TEST_F(ViewInputTest, MovingTheMouseLeavesACameraTurnedOtherwiseAsItIs)
{
    startWithScene();
    KaCamera& camera = *SceneObjects->ActiveCamera();
    camera.Trans->Rotation = RotationX(0.3f); // as a script or the gizmo would
    for (int x = 300; x < 500; x += 20)
        mouse(QEvent::MouseMove, QPointF(x, 300), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(camera.Trans->Rotation, RotationX(0.3f));
    // Flying starts from where it looks: one pixel of turning, not a jump.
    dragBy(QPointF(400, 300), {2, 0}, Qt::LeftButton, Qt::ControlModifier);
    const Vector3 forward = EyeToWorld({0, 0, -1}, camera.Trans->Rotation);
    EXPECT_NEAR(forward.y, EyeToWorld({0, 0, -1}, RotationX(0.3f)).y, 1e-3f);
}

TEST_F(ViewInputTest, RightButtonWithKeysAndTheWheelFlyAndFShowsTheSelection)
{
    startWithScene();
    KaCamera& camera = *SceneObjects->ActiveCamera();
    const QPointF centre = widgetPointOf({0, 0, -10});
    QWheelEvent wheel(centre, form->View().mapToGlobal(centre), {}, {0, 240}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&form->View(), &wheel);
    expectNear(camera.Trans->Position, {0, 0, -2});
    mouse(QEvent::MouseButtonPress, centre, Qt::RightButton, Qt::RightButton);
    QTest::keyPress(&form->View(), Qt::Key_W);
    waitFrames(5);
    QTest::keyRelease(&form->View(), Qt::Key_W);
    mouse(QEvent::MouseButtonRelease, centre, Qt::RightButton, Qt::NoButton);
    EXPECT_LT(camera.Trans->Position.z, -2.01f);
    form->SelectObject("post");
    QTest::keyClick(&form->View(), Qt::Key_F);
    // The camera looks at the post from along its view, the post fills part of it.
    const Vector3 towards =
        VectorSub(SceneObjects->FindByName("post")->Trans->Position, camera.Trans->Position);
    const float distance = std::sqrt(VectorLengthSqr(towards));
    expectNear(VectorScale(towards, 1 / distance), EyeToWorld({0, 0, -1}, camera.Trans->Rotation), 1e-3f);
    EXPECT_GT(distance, 2.0f);
    EXPECT_LT(distance, 8.0f);
    EXPECT_FALSE(form->Document()->CanUndo()) << "flying is no step";
}

TEST_F(ViewInputTest, TheViewTakesTheKeysWhereTheMouseIsButNotFromABoxBeingTyped)
{
    startWithScene();
    form->Hierarchy().Tree().setFocus();
    QEnterEvent enter(QPointF(300, 300), QPointF(300, 300), form->View().mapToGlobal(QPointF(300, 300)));
    QApplication::sendEvent(&form->View(), &enter);
    EXPECT_TRUE(form->View().hasFocus());
    QLineEdit* x = find<QLineEdit>(*form, "CoordX");
    x->setFocus();
    QApplication::sendEvent(&form->View(), &enter);
    EXPECT_TRUE(x->hasFocus());
}

TEST_F(ViewInputTest, TheRingsTurnTheObjectInOneStep)
{
    startWithScene();
    form->SelectObject("crate");
    find<QToolButton>(*form, "ROTBut")->click();
    EXPECT_EQ(input->Gizmo().Mode(), GizmoMode::Rotate);
    find<QCheckBox>(*form, "GlobAxisBox")->setChecked(true);
    EXPECT_TRUE(input->Gizmo().GlobalAxes());
    waitFrames(1);
    // The ring about z, in the plane facing the camera.
    dragBy(widgetPointOf({1.41421f, 1.41421f, -14}), {0, 40});
    EXPECT_NE(crate->Trans->Rotation, kIdentityMatrix3);
    EXPECT_EQ(crate->Trans->Position, (Vector3{0, 0, -10}));
    EXPECT_EQ(form->Document()->UndoLabel(), "Повернуть crate");
    form->Document()->Undo();
    EXPECT_EQ(crate->Trans->Rotation, kIdentityMatrix3);
    find<QToolButton>(*form, "MOVEBut")->click();
    EXPECT_EQ(input->Gizmo().Mode(), GizmoMode::Move);
}

TEST_F(ViewInputTest, TheOverlayShowsTheColourUnderTheCursor)
{
    startWithScene();
    form->SelectObject("crate");
    mouse(QEvent::MouseMove, redArrow(), Qt::NoButton, Qt::NoButton);
    waitFrames(2);
    EXPECT_EQ(input->PickedColour(), (std::array<float, 3>{1, 0, 0}));
    mouse(QEvent::MouseMove, widgetPointOf({-3, 2, -14}), Qt::NoButton, Qt::NoButton);
    waitFrames(2);
    EXPECT_EQ(input->PickedColour(), (std::array<float, 3>{0, 0, 0}));
}

TEST_F(ViewInputTest, AMultisampledViewStillPicksAndDrags)
{
    Settings.AntialiasingLevel = 4;
    SaveConfig(kConfigFileName);
    startWithScene();
    EXPECT_TRUE(hasLine("  Используем 4 кратное FSAA"));
    form->View().makeCurrent();
    GLint samples = 0;
    form->View().context()->functions()->glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_EQ(samples, 4) << "the view draws multisampled";
    click(widgetPointOf({0.3f, 0.2f, -9}));
    EXPECT_EQ(form->Document()->Selection().SelectedName(), "crate");
    waitFrames(1);
    dragOutBackAndBy(redArrow(), {-55, 0});
    expectNear(crate->Trans->Position, {-1, 0, -10});
    waitFrames(2);
    EXPECT_FALSE(hasLine("! ")) << "no OpenGL error";
}

TEST_F(ViewInputTest, TheBoxesBelowTheTreeMoveAndRenameTheSelection)
{
    startWithScene();
    form->SelectObject("post");
    waitFrames(1);
    QLineEdit* x = find<QLineEdit>(*form, "CoordX");
    EXPECT_EQ(x->text(), QStringLiteral("4.000"));
    x->setFocus();
    x->selectAll();
    type(x, QStringLiteral("7,5"));
    waitFrames(2); // the per-pass refresh leaves a box being edited alone
    EXPECT_EQ(x->text(), QStringLiteral("7,5"));
    QTest::keyClick(x, Qt::Key_Return);
    waitFrames(1);
    EXPECT_NEAR(SceneObjects->FindByName("post")->Trans->Position.x, 7.5f, 1e-4f);
    EXPECT_EQ(x->text(), QStringLiteral("7.500"));

    x->selectAll();
    type(x, QStringLiteral("ab"));
    QTest::keyClick(x, Qt::Key_Return);
    EXPECT_EQ(x->text(), QStringLiteral("7.500"));
    EXPECT_TRUE(form->statusBar()->currentMessage().contains(QStringLiteral("не число")));

    find<QPushButton>(*form, "MinX")->click();
    waitFrames(1);
    EXPECT_NEAR(SceneObjects->FindByName("post")->Trans->Position.x, -7.5f, 1e-4f);

    QLineEdit* name = find<QLineEdit>(*form, "liD");
    name->setFocus();
    name->selectAll();
    type(name, QStringLiteral("cam1"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(name->text(), QStringLiteral("post"));
    EXPECT_TRUE(form->statusBar()->currentMessage().contains(QStringLiteral("занято")));
    name->selectAll();
    type(name, QStringLiteral("столб"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_NE(SceneObjects->FindByName("столб"), nullptr);
    EXPECT_EQ(SceneObjects->FindByName("crate")->Children, (std::vector<std::string>{"столб"}));
    EXPECT_EQ(treeNames(), (std::vector<std::string>{"cam1", "lig1", "crate", "столб"}));
}

} // namespace
} // namespace ra7::editor
