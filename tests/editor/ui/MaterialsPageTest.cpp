// The Materials page driven like a user: clicks in the list, bars, boxes
// and keys, the popup's commands with answered dialogs, the shader chooser,
// the tree's "Перейти к материалу", and the Edit menu's undo. The library
// saved from the page is read back by the real `ra7 info --json`.

#include "core/EditorDocument.h"
#include "editor/ui/MainWindowTest.h"
#include "effects/Ka7Light.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7TextureList.h"
#include "ui/TConsoleForm.h"
#include "ui/THierarchyPanel.h"
#include "ui/TMaterialColourGroup.h"
#include "ui/TMaterialsPage.h"
#include "ui/TPageHost.h"

#include <QCheckBox>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>

namespace ra7::editor {
namespace {

class MaterialsPage : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        startWithEditorData();
        KaMaterial wood;
        wood.Name = "wood";
        wood.Shininess = 200; // as the converter leaves it
        wood.Diffuse = {0.8f, 0.6f, 0.4f, 1};
        Materials->AddCopy(wood);
        KaMaterial glass;
        glass.Name = "glass";
        glass.Blend = true;
        Materials->AddCopy(glass);
        geometry("table", "wood");
        geometry("shelf", "wood", true);
        geometry("window", "glass");
        geometry("chair", "");
        auto lamp = std::make_unique<KaLight>();
        lamp->SetName("lamp");
        SceneObjects->Add(std::move(lamp));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        waitFrames(2);
        ASSERT_TRUE(form->ShowPage(QStringLiteral("materials")));
        page = find<TMaterialsPage>(*form, "MaterialsPage");
        matBox = find<QListWidget>(*page, "MatBox");
    }

    static void geometry(const char* name, const char* material, bool isStatic = false)
    {
        auto made = std::make_unique<KaGeometry>();
        made->SetName(name);
        made->MaterialName = material;
        made->Static = isStatic;
        SceneObjects->Add(std::move(made));
        SceneObjects->MarkChanged();
    }
    static std::string materialOf(const char* object)
    {
        return static_cast<KaGeometry*>(SceneObjects->FindByName(object))->MaterialName;
    }
    std::vector<std::string> listed() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < matBox->count(); ++i)
            names.push_back(matBox->item(i)->text().toStdString());
        return names;
    }
    void clickMaterial(const char* name)
    {
        const auto items = matBox->findItems(QString::fromUtf8(name), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name;
        QTest::mouseClick(matBox->viewport(), Qt::LeftButton, Qt::NoModifier,
                          matBox->visualItemRect(items.front()).center());
        ASSERT_EQ(page->Model()->Selected(), name);
    }
    template <class T>
    T* visible(const char* name)
    {
        T* widget = find<T>(*page, name);
        if (widget)
            find<QScrollArea>(*page, "MaterialsScroll")->ensureWidgetVisible(widget);
        return widget;
    }
    // Types into a box and presses Enter, as a user would.
    void type(const char* box, const QString& text)
    {
        auto* edit = visible<QLineEdit>(box);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void undo() { QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier); }
    std::string status() const { return form->statusBar()->currentMessage().toStdString(); }
    static void writePng(const std::filesystem::path& path, QColor colour)
    {
        std::filesystem::create_directories(path.parent_path());
        QImage image(8, 8, QImage::Format_RGB888);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString(path.string())));
    }

    TMaterialsPage* page = nullptr;
    QListWidget* matBox = nullptr;
};

TEST_F(MaterialsPage, TheListFillsTheControlsWithoutWritingAnything)
{
    EXPECT_EQ(listed(), (std::vector<std::string>{"wood", "glass"}));
    clickMaterial("wood");
    EXPECT_EQ(visible<QLineEdit>("matNameEdit")->text(), QStringLiteral("wood"));
    EXPECT_EQ(visible<QLineEdit>("ShininessEdit")->text(), QStringLiteral("128"));
    EXPECT_EQ(find<QScrollBar>(*page, "ColourBar_3_0")->value(), 80);
    EXPECT_FALSE(find<QCheckBox>(*page, "BlendCheck")->isChecked());
    clickMaterial("glass");
    EXPECT_TRUE(find<QCheckBox>(*page, "BlendCheck")->isChecked());
    EXPECT_EQ(Materials->Find("wood")->Shininess, 200); // showing 128 wrote nothing
    EXPECT_FALSE(form->Document()->CanUndo());
    EXPECT_FALSE(page->PreviewImage().isNull());
}

TEST_F(MaterialsPage, ADraggedBarIsOneStepAndEscapeDuringTheDragPutsItBack)
{
    clickMaterial("wood");
    QScrollBar* red = find<QScrollBar>(*page, "ColourBar_0_0");
    const QImage before = page->PreviewImage();
    red->setSliderDown(true);
    for (int position : {90, 120, 150})
        red->setSliderPosition(position);
    red->setSliderDown(false);
    EXPECT_FLOAT_EQ(Materials->Find("wood")->Colour[0], 1.5f);
    EXPECT_EQ(Materials->Find("wood")->Colour[1], 0.4f);
    EXPECT_EQ(action("ActionUndo")->text(), QStringLiteral("Отменить Материал wood: Цвет"));
    EXPECT_NE(page->PreviewImage(), before); // the picture follows the edit

    red->setSliderDown(true);
    red->setSliderPosition(10);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(), Qt::Key_Escape);
    red->setSliderPosition(20); // the mouse still moves until the button is released
    red->setSliderDown(false);
    EXPECT_FLOAT_EQ(Materials->Find("wood")->Colour[0], 1.5f);
    EXPECT_EQ(red->value(), 150);

    undo();
    EXPECT_FLOAT_EQ(Materials->Find("wood")->Colour[0], 0.4f);
    EXPECT_EQ(red->value(), 40);
    // Key steps outside a drag are a step each.
    red->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    red->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    undo();
    EXPECT_FLOAT_EQ(Materials->Find("wood")->Colour[0], 0.41f);
}

// Scrolling the page with the wheel passed over the bars and changed colours.
TEST_F(MaterialsPage, TheWheelOverABarChangesNoColour)
{
    clickMaterial("wood");
    QScrollBar* bar = find<QScrollBar>(*page, "ColourBar_1_3");
    const int before = bar->value();
    const QPointF at = QRectF(bar->rect()).center();
    QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    EXPECT_EQ(bar->value(), before);
    EXPECT_EQ(Materials->Find("wood")->WorldAmbient[3], 1.0f);
    EXPECT_FALSE(form->Document()->CanUndo());
}

TEST_F(MaterialsPage, RenamingFromTheNameBoxRefusesDuplicatesAndTheGeometryFollows)
{
    clickMaterial("wood");
    type("matNameEdit", QStringLiteral("glass"));
    EXPECT_EQ(Materials->IndexOf("wood"), 0);
    EXPECT_EQ(find<QLineEdit>(*page, "matNameEdit")->text(), QStringLiteral("wood"));
    EXPECT_EQ(status(), "Материал <glass> уже есть; осталось wood");
    EXPECT_TRUE(hasLine("! Материал <glass> уже есть"));

    type("matNameEdit", QStringLiteral("oak"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"oak", "glass"}));
    EXPECT_EQ(materialOf("table"), "oak");
    EXPECT_EQ(materialOf("shelf"), "oak");
    EXPECT_EQ(matBox->currentItem()->text(), QStringLiteral("oak"));
    undo();
    EXPECT_EQ(listed(), (std::vector<std::string>{"wood", "glass"}));
    EXPECT_EQ(materialOf("table"), "wood");
    EXPECT_EQ(find<QLineEdit>(*page, "matNameEdit")->text(), QStringLiteral("wood"));
}

TEST_F(MaterialsPage, AddingAndDeletingThroughThePopupUndoExactly)
{
    clickMaterial("wood");
    dialogs.answers = {std::nullopt, std::string("glass"), std::string("Mat1")};
    action("ActionAddMaterial")->trigger(); // cancelled
    action("ActionAddMaterial")->trigger(); // taken
    EXPECT_EQ(listed(), (std::vector<std::string>{"wood", "glass"}));
    EXPECT_EQ(page->Model()->Selected(), "wood");
    action("ActionAddMaterial")->trigger();
    EXPECT_EQ(listed(), (std::vector<std::string>{"wood", "glass", "Mat1"}));
    EXPECT_EQ(matBox->currentItem()->text(), QStringLiteral("Mat1"));
    EXPECT_EQ(dialogs.questions.back(), "Название имя материала");

    clickMaterial("wood");
    matBox->setFocus();
    QTest::keyClick(matBox, Qt::Key_Delete);
    EXPECT_EQ(listed(), (std::vector<std::string>{"Mat1", "glass"}));
    EXPECT_EQ(Materials->Find(materialOf("table")), nullptr);
    undo();
    EXPECT_EQ(listed(), (std::vector<std::string>{"wood", "glass", "Mat1"}));
    EXPECT_EQ(materialOf("table"), "wood");
    EXPECT_EQ(materialOf("shelf"), "wood");
}

TEST_F(MaterialsPage, ADoubleClickAssignsToTheSelectedGeometryOnly)
{
    form->Document()->Select({"table", "lamp", "chair"});
    // A double click arrives after the click of its first press.
    clickMaterial("glass");
    const auto items = matBox->findItems(QStringLiteral("glass"), Qt::MatchExactly);
    QTest::mouseDClick(matBox->viewport(), Qt::LeftButton, Qt::NoModifier,
                       matBox->visualItemRect(items.front()).center());
    EXPECT_EQ(status(), "");
    EXPECT_EQ(materialOf("table"), "glass");
    EXPECT_EQ(materialOf("chair"), "glass");
    EXPECT_EQ(materialOf("window"), "glass");
    EXPECT_EQ(materialOf("shelf"), "wood");
    undo();
    EXPECT_EQ(materialOf("table"), "wood");
    EXPECT_EQ(materialOf("chair"), "");
}

TEST_F(MaterialsPage, GoingToTheMaterialFromTheTreeLandsOnThePageWithItSelected)
{
    ASSERT_TRUE(form->ShowPage(QStringLiteral("add")));
    form->SelectObject("window");
    QAction* go = action("ActionGoToMaterial");
    EXPECT_TRUE(go->isEnabled());
    go->trigger();
    EXPECT_EQ(form->Pages().CurrentId(), QStringLiteral("materials"));
    EXPECT_EQ(matBox->currentItem()->text(), QStringLiteral("glass"));
    EXPECT_EQ(find<QLineEdit>(*page, "matNameEdit")->text(), QStringLiteral("glass"));

    form->SelectObject("chair"); // a geometry without material: nothing selected
    go->trigger();
    EXPECT_EQ(matBox->currentItem(), nullptr);
    EXPECT_FALSE(find<QWidget>(*page, "ColourGroup_0")->isEnabled());
}

TEST_F(MaterialsPage, ShininessAndAlphaBoxesClampRefuseAndKeep)
{
    clickMaterial("wood");
    type("ShininessEdit", QStringLiteral("500"));
    EXPECT_EQ(Materials->Find("wood")->Shininess, 128);
    type("AlphaEdit", QStringLiteral("0,25"));
    EXPECT_EQ(Materials->Find("wood")->AlphaRef, 0.25f);
    type("AlphaEdit", QStringLiteral("abc"));
    EXPECT_EQ(Materials->Find("wood")->AlphaRef, 0.25f);
    EXPECT_EQ(find<QLineEdit>(*page, "AlphaEdit")->text(), QStringLiteral("0.25"));
    EXPECT_EQ(status(), "Alpha range: <abc> не число; осталось 0.25");
    visible<QCheckBox>("CullFaceCheck")->click();
    EXPECT_TRUE(Materials->Find("wood")->TwoSided);
    EXPECT_EQ(Materials->Find("wood")->AlphaRef, 0.25f);
}

TEST_F(MaterialsPage, TheShaderChooserFillsTheBoxAndACancelChangesNothing)
{
    clickMaterial("wood");
    dialogs.onModal = [](QDialog& dialog) {
        auto* vertex = dialog.findChild<QListWidget*>(QStringLiteral("VertexList"));
        const auto found = vertex->findItems(QStringLiteral("bumpV"), Qt::MatchExactly);
        if (!found.isEmpty())
            vertex->setCurrentItem(found.front());
        EXPECT_FALSE(dialog.findChild<QListWidget*>(QStringLiteral("FragmentList"))->isEnabled());
    };
    auto* box = visible<QLineEdit>("VertexShaderBox");
    QTest::mouseDClick(box, Qt::LeftButton);
    EXPECT_EQ(Materials->Find("wood")->VertexShader, "bumpV");
    EXPECT_EQ(box->text(), QStringLiteral("bumpV"));
    EXPECT_EQ(dialogs.modalWindows.back(), "Шейдеры");

    dialogs.onModal = [](QDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
    };
    QTest::mouseDClick(box, Qt::LeftButton);
    EXPECT_EQ(Materials->Find("wood")->VertexShader, "bumpV");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Delete); // clearing is its own command
    EXPECT_EQ(Materials->Find("wood")->VertexShader, "");
    undo();
    EXPECT_EQ(Materials->Find("wood")->VertexShader, "bumpV");
}

TEST_F(MaterialsPage, ATextureSlotLoadsTheChosenFileAndAMissingOneBringsUpTheConsole)
{
    writePng(dir() / "Textures" / "Stone.png", QColor(0, 200, 0));
    clickMaterial("wood");
    auto* textureSlots = visible<QListWidget>("TextureList");
    const auto doubleClickSlot = [&](int slot) {
        QTest::mouseClick(textureSlots->viewport(), Qt::LeftButton, Qt::NoModifier,
                          textureSlots->visualItemRect(textureSlots->item(slot)).center());
        QTest::mouseDClick(textureSlots->viewport(), Qt::LeftButton, Qt::NoModifier,
                           textureSlots->visualItemRect(textureSlots->item(slot)).center());
    };
    dialogs.answers = {(dir() / "Textures" / "Stone.png").string()};
    doubleClickSlot(0);
    EXPECT_EQ(find<QLabel>(*page, "TexturesLabel")->text(), QStringLiteral("Текстуры: 0"));
    EXPECT_EQ(Materials->Find("wood")->Textures[0], "textures\\stone.png");
    EXPECT_NE(Textures->Find("textures\\stone.png"), nullptr);
    EXPECT_TRUE(hasLine("  Файл <textures\\stone.png> добавлен"));
    // The picture shows the texture: green where the sphere is lit.
    const QColor centre =
        page->PreviewImage().pixelColor(MaterialPreview::kSize / 2, MaterialPreview::kSize / 2);
    EXPECT_GT(centre.green(), centre.red() + 40);

    dialogs.answers = {std::nullopt};
    doubleClickSlot(0); // cancelled: nothing changes
    EXPECT_EQ(Materials->Find("wood")->Textures[0], "textures\\stone.png");

    EXPECT_FALSE(form->ConsoleForm().isVisible());
    dialogs.answers = {(dir() / "textures" / "gone.png").string()};
    doubleClickSlot(1);
    EXPECT_EQ(Materials->Find("wood")->Textures[1], "");
    EXPECT_TRUE(hasLine("! Файл <textures\\gone.png> не найден"));
    EXPECT_TRUE(form->ConsoleForm().isVisible());

    textureSlots->setCurrentRow(0);
    textureSlots->setFocus();
    QTest::keyClick(textureSlots, Qt::Key_Delete);
    EXPECT_EQ(Materials->Find("wood")->Textures[0], "");
    undo();
    EXPECT_EQ(Materials->Find("wood")->Textures[0], "textures\\stone.png");
}

TEST_F(MaterialsPage, TheLibrarySavedFromThePageReadsBackThroughRa7InfoWithEveryField)
{
    writePng(dir() / "textures" / "stone.png", QColor(90, 90, 90));
    writePng(dir() / "textures" / "stone_normal.png", QColor(128, 128, 255));
    writePng(dir() / "textures" / "glow.png", QColor(255, 200, 0));
    KaMaterial& wood = *Materials->Find("wood");
    wood.Colour = kKeepColour;
    wood.WorldAmbient = {0.1f, 0.2f, 0.3f, 0.4f};
    wood.Ambient = {0.5f, 0.6f, 0.7f, 0.8f};
    wood.Specular = {1.5f, 1.25f, 1.0f, 0.5f};
    wood.AlphaRef = 0.125f;
    wood.TwoSided = true;
    wood.VertexShader = "bumpV";
    wood.FragmentShader = "bumpF";
    wood.Textures[0] = "textures\\stone.png";
    wood.Textures[1] = "textures\\stone_normal.png";
    wood.SelfIllumination = "textures\\glow.png";

    dialogs.answers = {(dir() / "library").string()};
    action("ActionSaveMaterials")->trigger();
    ASSERT_TRUE(std::filesystem::exists(dir() / "library.kmt"));

    QProcess info;
    info.start(QString::fromUtf8(RA7_TOOL_BINARY),
               {QStringLiteral("info"), QStringLiteral("--json"),
                QString::fromStdString((dir() / "library.kmt").string())});
    ASSERT_TRUE(info.waitForFinished(30000));
    ASSERT_EQ(info.exitCode(), 0) << info.readAllStandardError().toStdString();
    const QJsonObject read = QJsonDocument::fromJson(info.readAllStandardOutput()).object();
    EXPECT_EQ(read[QStringLiteral("format")].toString(), QStringLiteral("kmt"));
    const QJsonArray materials = read[QStringLiteral("materials")].toArray();
    ASSERT_EQ(materials.size(), Materials->Count());
    const auto colour = [](const QJsonValue& value) {
        KaColor c{};
        for (int i = 0; i < 4; ++i)
            c[static_cast<std::size_t>(i)] = static_cast<float>(value.toArray()[i].toDouble());
        return c;
    };
    for (std::int32_t i = 0; i < Materials->Count(); ++i) {
        const KaMaterial& m = Materials->Get(i);
        const QJsonObject j = materials[i].toObject();
        EXPECT_EQ(j[QStringLiteral("name")].toString().toStdString(), m.Name);
        EXPECT_EQ(colour(j[QStringLiteral("colour")]), m.Colour) << m.Name;
        EXPECT_EQ(colour(j[QStringLiteral("worldAmbient")]), m.WorldAmbient) << m.Name;
        EXPECT_EQ(colour(j[QStringLiteral("ambient")]), m.Ambient) << m.Name;
        EXPECT_EQ(colour(j[QStringLiteral("diffuse")]), m.Diffuse) << m.Name;
        EXPECT_EQ(colour(j[QStringLiteral("specular")]), m.Specular) << m.Name;
        EXPECT_EQ(j[QStringLiteral("shininess")].toInt(), m.Shininess) << m.Name;
        EXPECT_EQ(static_cast<float>(j[QStringLiteral("alphaRef")].toDouble()), m.AlphaRef) << m.Name;
        EXPECT_EQ(j[QStringLiteral("blend")].toBool(), m.Blend) << m.Name;
        EXPECT_EQ(j[QStringLiteral("twoSided")].toBool(), m.TwoSided) << m.Name;
        EXPECT_EQ(j[QStringLiteral("vertexShader")].toString().toStdString(), m.VertexShader);
        EXPECT_EQ(j[QStringLiteral("fragmentShader")].toString().toStdString(), m.FragmentShader);
        EXPECT_EQ(j[QStringLiteral("selfIllumination")].toString().toStdString(), m.SelfIllumination);
        const QJsonArray textures = j[QStringLiteral("textures")].toArray();
        ASSERT_EQ(textures.size(), static_cast<int>(kMaterialTextureSlots));
        for (std::size_t t = 0; t < kMaterialTextureSlots; ++t)
            EXPECT_EQ(textures[static_cast<int>(t)].toString().toStdString(), m.Textures[t]) << t;
    }

    // Loaded back into an emptied list, from the popup, with undo.
    Materials->Clear();
    form->Document()->Poll();
    dialogs.answers = {(dir() / "library.kmt").string()};
    action("ActionLoadMaterials")->trigger();
    EXPECT_EQ(listed(), (std::vector<std::string>{"wood", "glass"}));
    EXPECT_EQ(Materials->Find("wood")->SelfIllumination, "textures\\glow.png");
    EXPECT_NE(Textures->Find("textures\\stone_normal.png"), nullptr);
    undo();
    EXPECT_TRUE(listed().empty());
}

} // namespace
} // namespace ra7::editor
