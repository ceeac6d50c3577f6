// The main window under a real display with a real Mesa context: start-up,
// the frame loop, the layout, the File and Settings menus and the save window.

#include "ui/TMainForm.h"

#include "core/SettingsToggles.h"
#include "editor/ui/MainWindowTest.h"
#include "engine/TestSupport.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7Shaders.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7GlobalEngine.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/TConsoleForm.h"
#include "ui/TGLView.h"
#include "ui/TSaveForm.h"
#include "ui/TShadersForm.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace fs = std::filesystem;

namespace ra7::editor {
namespace {

TEST_F(MainWindow, LogHoldsTheStartUpStepsInOrder)
{
    SaveConfig(kConfigFileName);
    startWithEditorData();
    const std::vector<std::string> lines = readTextLines("log.txt");
    // The engine's own steps between these are EngineLifecycle's; here the
    // editor's steps around them, and the driver descriptions after them.
    const std::vector<std::string> steps = {"* Консоль создана...",
                                            "* Настраиваем дисплей...",
                                            "* Дисплей настроен...",
                                            "* Инициализируем движок...",
                                            "  Инициализируем анимацию",
                                            "> glinfo",
                                            "  Версия GL: ",
                                            "> alinfo"};
    auto at = lines.begin();
    for (const std::string& step : steps) {
        at = std::find_if(at, lines.end(), [&](const std::string& line) { return line.rfind(step, 0) == 0; });
        ASSERT_NE(at, lines.end()) << "missing or out of order: " << step;
    }
    for (const std::string& line : lines)
        EXPECT_NE(line.rfind("! ", 0), 0u) << "no error at start-up: " << line;
}

TEST_F(MainWindow, SceneHoldsTheActiveCameraAndTheLightOnly)
{
    startWithEditorData();
    ASSERT_EQ(SceneObjects->Count(), 2);
    EXPECT_EQ(SceneObjects->GetItem(0)->Name(), "cam1");
    EXPECT_EQ(ActiveCameraName, "cam1");
    const KaSceneObj* light = SceneObjects->FindByName("lig1");
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->Trans->Position, (Vector3{10, 10, 10}));
    // The templates left the scene, and their materials left the list.
    EXPECT_EQ(SceneObjects->FindByName("arrow"), nullptr);
    EXPECT_EQ(Materials->Count(), 0);
    waitFrames(2);
    EXPECT_EQ(treeNames(), (std::vector<std::string>{"cam1", "lig1"}));
}

TEST_F(MainWindow, TheFpsFigureAppearsAfterTwentyFiveFrames)
{
    startWithEditorData();
    const long before = form->FramesDrawn();
    ASSERT_LT(before, 24);
    std::vector<std::string> shown;
    QObject::connect(form.get(), &TMainForm::frameDrawn, [&] { shown.push_back(form->FpsText()); });
    QElapsedTimer waited;
    waited.start();
    while (form->FpsText().empty() && waited.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    waitFrames(1);
    const auto first =
        std::find_if(shown.begin(), shown.end(), [](const std::string& t) { return !t.empty(); });
    ASSERT_NE(first, shown.end());
    EXPECT_EQ(before + (first - shown.begin()), 24) << "24 blank frames, the figure on the 25th";
    EXPECT_GT(std::stoi(*first), 0);
    EXPECT_EQ(find<QLabel>(*form, "FpsLabel")->text().toStdString(), "FPS:" + form->FpsText());
}

TEST_F(MainWindow, ViewportFollowsThePanelsAndTheTreeToggle)
{
    startWithEditorData();
    waitFrames(2);
    const auto& view = form->View();
    const int w = view.width();
    const int h = view.height();
    EXPECT_EQ(form->CurrentViewport(), (Viewport{181, 100, w - 200 - 181, h - 100}));
    EXPECT_EQ(Settings.ScreenWidth, w);
    EXPECT_EQ(Settings.ScreenHeight, h);

    auto* toggle = form->findChild<QAbstractButton*>(QStringLiteral("TreeToggle"));
    ASSERT_NE(toggle, nullptr);
    toggle->click();
    EXPECT_EQ(toggle->text(), QStringLiteral(">"));
    EXPECT_EQ(form->CurrentViewport().x, 7);
    EXPECT_FALSE(find<QWidget>(*form, "TreePanel")->isVisible());
    toggle->click();
    EXPECT_EQ(form->CurrentViewport().x, 181);

    action("ActionPanels")->trigger();
    EXPECT_FALSE(form->Flags().ShowPanels);
    EXPECT_EQ(form->CurrentViewport(), (Viewport{0, 0, w, h}));
    for (const char* panel : {"TreePanel", "ToolPanel", "AnimPanel"})
        EXPECT_FALSE(find<QWidget>(*form, panel)->isVisible()) << panel;
    // The frame really draws over the whole client area.
    waitFrames(1);
    form->View().makeCurrent();
    GLint viewport[4] = {};
    form->View().context()->functions()->glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], w);
    EXPECT_EQ(viewport[3], h);
}

TEST_F(MainWindow, TheViewIsOpaqueGreyWithTheGridBelowTheHorizon)
{
    startWithEditorData();
    waitFrames(3);
    const QImage image = form->View().grabFramebuffer().convertToFormat(QImage::Format_ARGB32);
    const Viewport view = form->CurrentViewport();
    // The upper half of the view (above the grid's horizon) is the background.
    const QColor sky =
        image.pixelColor(view.x + view.width / 2, image.height() - (view.y + view.height) + 10);
    EXPECT_NEAR(sky.red(), 153, 2);
    EXPECT_NEAR(sky.green(), 153, 2);
    EXPECT_NEAR(sky.blue(), 153, 2);
    // Smoothed lines leave no translucent pixels behind.
    int darker = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            ASSERT_EQ(pixel.alpha(), 255) << x << "," << y;
            darker += pixel.red() < 140 ? 1 : 0;
        }
    EXPECT_GT(darker, 100) << "the grid's grey lines are drawn";
}

TEST_F(MainWindow, TheOverlayShowsItsTextLines)
{
    startWithEditorData();
    waitFrames(3);
    const QImage image = form->View().grabFramebuffer().convertToFormat(QImage::Format_ARGB32);
    const Viewport view = form->CurrentViewport();
    // Counts pixels in a rectangle of the view given in overlay units (pixels
    // from the view's lower-left corner).
    auto count = [&](int left, int bottom, int right, int top, auto test) {
        int n = 0;
        for (int py = bottom; py < top; ++py)
            for (int px = left; px < right; ++px) {
                const int x = view.x + px;
                const int y = image.height() - 1 - (view.y + py);
                if (x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
                    test(image.pixelColor(x, y)))
                    ++n;
            }
        return n;
    };
    auto white = [](const QColor& c) { return c.red() > 230 && c.green() > 230 && c.blue() > 230; };
    // "FPS:", "MEM:…" and "X:… Y:… Z:…" stand at x = 10, y = 10, 25 and 40.
    EXPECT_GT(count(10, 8, 200, 55, white), 60) << "the text lines are drawn";
    EXPECT_EQ(count(0, 60, 8, 120, white), 0) << "nothing left of the text column";
}

TEST_F(MainWindow, MissingEditorDataStopsStartUpWithAMessage)
{
    const std::string error = start();
    EXPECT_NE(error.find("editorData.kgf"), std::string::npos) << error;
    EXPECT_FALSE(form->Started());
    form.reset();
    EXPECT_TRUE(hasLine("! ")) << "the failure is in the log";
    EXPECT_TRUE(hasLine("* Уничтожаю консоль..."));
}

TEST_F(MainWindow, LoadAndSaveThroughTheDialogs)
{
    startWithEditorData();
    writeScene(dir() / "level.kgf", {{"box", "data\\box.mes"}, {"rock", "data\\rock.mes"}});
    dialogs.answers = {(dir() / "level.kgf").string()};
    action("ActionLoadKgf")->trigger();
    EXPECT_TRUE(hasLine("  Загружено успешно за "));
    EXPECT_EQ(treeNames(), (std::vector<std::string>{"cam1", "lig1", "box", "rock"}));

    dialogs.answers = {(dir() / "Out").string()};
    dialogs.onModal = [&](QDialog& window) {
        auto* geometry = find<QListWidget>(window, "GeomList");
        geometry->setCurrentRow(1); // rock
        find<QPushButton>(window, "AddToSave")->click();
    };
    action("ActionSaveKgf")->trigger();
    EXPECT_EQ(dialogs.modalWindows, (std::vector<std::string>{"Сохранить..."}));
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_TRUE(hasLine("  --C\xd0\xbe")) << "Latin C after the dashes";
    EXPECT_TRUE(hasLine("  --Cохранено успешно..."));
    ASSERT_TRUE(fs::exists(dir() / "out.kgf"));

    KaObjArray saved;
    saved.LoadFromFile("out.kgf");
    ASSERT_EQ(saved.Count(), 1);
    EXPECT_EQ(saved.GetItem(0)->Name(), "rock");
}

TEST_F(MainWindow, SaveWindowAddsEachResourceLineOnce)
{
    startWithEditorData();
    writeScene(dir() / "twins.kgf", {{"a", "data\\box.mes"}, {"b", "data\\box.mes"}});
    form->LoadSceneFile((dir() / "twins.kgf").string());
    TSaveForm& window = form->SaveForm();
    window.SaveWindowDisplay();
    auto* geometry = find<QListWidget>(window, "GeomList");
    auto* add = find<QPushButton>(window, "AddToSave");
    geometry->setCurrentRow(0);
    add->click();
    geometry->setCurrentRow(0);
    add->click();
    auto* lines = find<QListWidget>(window, "ScriptLines");
    ASSERT_EQ(lines->count(), 1);
    EXPECT_EQ(lines->item(0)->text(), QStringLiteral("addmesh <data\\box.mes>"));
    EXPECT_EQ(find<QListWidget>(window, "SaveList")->count(), 2);

    find<QPushButton>(window, "ResetSave")->click();
    EXPECT_EQ(find<QListWidget>(window, "SaveList")->count(), 0);
    geometry->setCurrentRow(1);
    add->click();
    EXPECT_EQ(lines->count(), 1) << "the line survives the reset and is not added twice";
}

TEST_F(MainWindow, BloomIsRefusedWithoutGlslOrWithoutATextureSize)
{
    startWithEditorData();
    QAction* bloom = action("ActionBloom");
    Settings.UseGLSL = false;
    bloom->trigger();
    EXPECT_FALSE(bloom->isChecked());
    EXPECT_FALSE(Settings.UseBloom);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], kBloomRefused);

    Settings.UseGLSL = true;
    Settings.BloomTextureSize = 0;
    bloom->trigger();
    EXPECT_FALSE(bloom->isChecked());
    EXPECT_EQ(dialogs.messages.size(), 2u);

    Settings.BloomTextureSize = 256;
    bloom->trigger();
    EXPECT_TRUE(bloom->isChecked());
    EXPECT_TRUE(Settings.UseBloom);
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(MainWindow, ShutDownFreesTheEngineInOrderAndClosesTheLogLast)
{
    startWithEditorData();
    form.reset();
    const std::vector<std::string> lines = readTextLines("log.txt");
    // The engine's steps between the first and the last are EngineLifecycle's.
    const std::vector<std::string> steps = {"  Деинициализируем анимацию", "  Деинициализируем OpenIL...",
                                            "* Уничтожаю консоль..."};
    auto at = lines.begin();
    for (const std::string& step : steps) {
        at = std::find(at, lines.end(), step);
        ASSERT_NE(at, lines.end()) << "missing or out of order: " << step;
    }
    EXPECT_EQ(lines.back(), "* Уничтожаю консоль...");
}

TEST_F(MainWindow, TreeFollowsTheSceneAndKeepsTheSelection)
{
    startWithEditorData();
    waitFrames(2);
    auto* tree = find<QTreeWidget>(*form, "MODtree");
    const auto found = tree->findItems(QStringLiteral("lig1"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    found.front()->setSelected(true);

    auto child = std::make_unique<KaGeometry>();
    child->SetName("lamp");
    KaSceneObj& lamp = *SceneObjects->Add(std::move(child));
    SceneObjects->FindByName("lig1")->AddChild(lamp);
    SceneObjects->MarkChanged();
    waitFrames(2);
    EXPECT_EQ(treeNames(), (std::vector<std::string>{"cam1", "lig1", "lamp"}));
    const auto selected = tree->selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front()->text(0), QStringLiteral("lig1"));
    EXPECT_EQ(selected.front()->child(0)->text(0), QStringLiteral("lamp"));
}

TEST_F(MainWindow, ShaderChooserReturnsTheSelectedProgramOrNothingOnCancel)
{
    startWithEditorData();
    TShadersForm& chooser = form->ShadersForm();
    std::string picked;
    dialogs.onModal = [&](QDialog& window) {
        auto* fragment = find<QListWidget>(window, "FragmentList");
        EXPECT_FALSE(find<QListWidget>(window, "VertexList")->isEnabled());
        ASSERT_GT(fragment->count(), 1);
        fragment->setCurrentRow(1);
        picked = fragment->item(1)->text().toStdString();
    };
    const KaShader* chosen = chooser.ChooseShader(false, true, true);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->Name, picked);
    EXPECT_EQ(chosen->ShaderKind(), KaShader::FragmentProgram);

    dialogs.onModal = [&](QDialog& window) {
        find<QListWidget>(window, "VertexList")->setCurrentRow(0);
        find<QPushButton>(window, "CancelButton")->click();
    };
    EXPECT_EQ(chooser.ChooseShader(true, true, true), nullptr);
}

TEST_F(MainWindow, ConsoleMenuShowsTheConsoleAndItsExitClosesTheEditor)
{
    startWithEditorData();
    action("ActionConsole")->trigger();
    EXPECT_TRUE(form->ConsoleForm().isVisible());
    auto* lines = find<QListWidget>(form->ConsoleForm(), "ConsoleLines");
    EXPECT_GT(lines->count(), 10);

    ExecuteCommand("exit");
    QElapsedTimer waited;
    waited.start();
    while (form->isVisible() && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(form->isVisible());
}

} // namespace
} // namespace ra7::editor
