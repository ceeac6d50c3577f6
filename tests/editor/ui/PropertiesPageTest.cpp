// The Properties page driven like a user: keys on the bars, clicks on the
// check boxes and buttons, files and names answered through the dialog
// interface. After each step the object holds what the page shows.

#include "core/EditorDocument.h"
#include "editor/ui/MainWindowTest.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
#include "engine/TestSupport.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7Camera.h"
#include "ui/PropertyPanels.h"
#include "ui/THierarchyPanel.h"
#include "ui/TPropertiesPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <gmock/gmock.h>

namespace ra7::editor {
namespace {

namespace fs = std::filesystem;

// A mono 16-bit PCM WAVE file of `samples` silent samples; without its
// "data" chunk when `damaged`.
std::string wave(std::uint32_t samples, bool damaged = false)
{
    using ra7::test::le16;
    using ra7::test::le32;
    const std::uint32_t bytes = samples * 2;
    const std::string format =
        "fmt " + le32(16) + le16(1) + le16(1) + le32(22050) + le32(44100) + le16(2) + le16(16);
    const std::string data = damaged ? std::string() : "data" + le32(bytes) + std::string(bytes, '\0');
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + format.size() + data.size())) + "WAVE" + format +
           data;
}

class PropertiesPage : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        startWithEditorData();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override
    {
        form.reset();
        MainWindow::TearDown();
    }
    // Adds an object through the engine (as a loaded scene would) and selects it.
    template <class T, class... Args>
    T& select(const std::string& name, Args&&... args)
    {
        auto object = std::make_unique<T>(std::forward<Args>(args)...);
        object->SetName(name);
        T& raw = *object;
        SceneObjects->Add(std::move(object));
        form->Document()->Poll();
        EXPECT_TRUE(form->SelectObject(name));
        EXPECT_TRUE(form->ShowPage(QStringLiteral("properties")));
        return raw;
    }
    // After a rebuild of the object (a new particle count) the reference is stale.
    template <class T>
    T& object(const std::string& name)
    {
        return *dynamic_cast<T*>(SceneObjects->FindByName(name));
    }
    QScrollBar* bar(const char* name) { return find<QScrollBar>(*form, name); }
    std::string text(const char* label) { return find<QLabel>(*form, label)->text().toStdString(); }
    QColor preview(const char* group)
    {
        return find<QLabel>(*form, (std::string(group) + "Preview").c_str())
            ->palette()
            .color(QPalette::Window);
    }
    void key(QWidget* widget, Qt::Key key, int times = 1)
    {
        widget->setFocus();
        for (int i = 0; i < times; ++i)
            QTest::keyClick(widget, key);
    }
    void chooseButton(const char* box)
    {
        find<QToolButton>(*form, (std::string(box) + "Choose").c_str())->click();
    }
    // A click on the box itself (the row is wider than box and label).
    void tick(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }
    void undo() { QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier); }
    TPropertiesPage& page() { return *find<TPropertiesPage>(*form, "PropertiesPage"); }
};

TEST_F(PropertiesPage, WithNothingSelectedOnlyTheNoteShows)
{
    form->ShowPage(QStringLiteral("properties"));
    form->Document()->ClearSelection();
    EXPECT_EQ(page().KindLabel().text(), QStringLiteral("нет выбранных объектов"));
    EXPECT_EQ(page().ShownPanel(), nullptr);
    EXPECT_TRUE(find<QCheckBox>(*form, "StaticBox")->isHidden());
}

TEST_F(PropertiesPage, EachKindShowsItsPanelAndName)
{
    const std::pair<std::string, const char*> kinds[] = {{"spr", "SpritePanel"},   {"lamp", "LightPanel"},
                                                         {"eye", "CameraPanel"},   {"box", "GeometryPanel"},
                                                         {"par", "ParticlePanel"}, {"snd", "SoundPanel"}};
    select<KaSprite>("spr");
    select<KaLight>("lamp");
    select<KaCamera>("eye");
    select<KaGeometry>("box");
    select<KaParSystem>("par", 4);
    select<KaSound>("snd");
    const char* captions[] = {"Спрайт",    "Источник света", "Камера",
                              "Геометрия", "Система частиц", "Источник звука"};
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        ASSERT_TRUE(form->SelectObject(kinds[i].first));
        ASSERT_NE(page().ShownPanel(), nullptr);
        EXPECT_EQ(page().ShownPanel()->objectName().toStdString(), kinds[i].second);
        EXPECT_EQ(page().KindLabel().text().toStdString(), captions[i]);
    }
}

TEST_F(PropertiesPage, LightBarsWriteTheirComponentAndThePreviewFollows)
{
    auto& lamp = select<KaLight>("lamp");
    lamp.LightParams[0] = 2000; // beyond the range bar: must survive other edits
    form->SelectObject("lamp");
    key(bar("DiffuseR"), Qt::Key_End);
    EXPECT_EQ(lamp.Diffuse[0], 2.0f);
    EXPECT_EQ(lamp.Diffuse[1], 0.3f);
    EXPECT_EQ(preview("Diffuse").red(), 255);
    EXPECT_EQ(preview("Diffuse").green(), 38); // 0.3 / 2 × 255
    EXPECT_EQ(text("DiffuseRValue"), "2");
    EXPECT_EQ(lamp.LightParams[0], 2000.0f);
    EXPECT_EQ(text("LightRangeValue"), "2000");
    undo();
    EXPECT_EQ(lamp.Diffuse[0], 0.3f);
    EXPECT_EQ(bar("DiffuseR")->value(), 30);
}

TEST_F(PropertiesPage, KeysOnOneBarAreOneStepUntilTheBarIsLeft)
{
    auto& sprite = select<KaSprite>("spr");
    key(bar("GlowSize"), Qt::Key_Right, 3); // 2.0 is position 10; three steps to 13
    EXPECT_FLOAT_EQ(sprite.Size1, 2.6f);
    EXPECT_EQ(text("GlowSizeValue"), "2.6");
    key(bar("StarSize"), Qt::Key_Right); // the glow bar lost the focus: a new step
    undo();
    EXPECT_EQ(sprite.Size2, 5.0f);
    EXPECT_FLOAT_EQ(sprite.Size1, 2.6f);
    undo();
    EXPECT_EQ(sprite.Size1, 2.0f);
}

TEST_F(PropertiesPage, SpeedBarsStayOrdered)
{
    auto& smoke = select<KaParSystem>("smoke", 4);
    key(bar("MinSpeed"), Qt::Key_End); // 5.0 is past MaxSpeed 2.0
    EXPECT_EQ(smoke.MinSpeed, 2.0f);
    EXPECT_EQ(smoke.MaxSpeed, 2.0f);
    EXPECT_EQ(bar("MinSpeed")->value(), 200);
    key(bar("MaxSpeed"), Qt::Key_Home); // 0.01 takes the minimum down
    EXPECT_EQ(smoke.MinSpeed, 0.01f);
    EXPECT_EQ(smoke.MaxSpeed, 0.01f);
    EXPECT_EQ(bar("MinSpeed")->value(), 1);
}

TEST_F(PropertiesPage, UnendingLivesTickAndUntickKeepTheLifetimes)
{
    auto& smoke = select<KaParSystem>("smoke", 4);
    smoke.MinLife = 800;
    smoke.MaxLife = 1200;
    form->SelectObject("smoke");
    auto* unending = find<QCheckBox>(*form, "UnendingBox");
    tick(unending);
    EXPECT_EQ(smoke.MaxLife, -128.0f);
    EXPECT_FALSE(bar("MinLife")->isEnabled());
    // Another bar of the panel leaves the unending lives alone.
    key(bar("Spread"), Qt::Key_Right);
    EXPECT_EQ(smoke.MinLife, -128.0f);
    tick(unending);
    EXPECT_EQ(smoke.MinLife, 800.0f);
    EXPECT_EQ(smoke.MaxLife, 1200.0f);
    EXPECT_TRUE(bar("MinLife")->isEnabled());
}

TEST_F(PropertiesPage, ANewParticleCountKeepsTheSizeChange)
{
    auto& smoke = select<KaParSystem>("smoke", 10);
    key(bar("SizeAdd"), Qt::Key_Home);
    ASSERT_EQ(smoke.SizeAdd, -0.4f);
    dialogs.answers = {std::string("40"), std::nullopt, std::string("-1")};
    find<QPushButton>(*form, "ParticleRecount")->click();
    EXPECT_EQ(object<KaParSystem>("smoke").Count(), 40);
    EXPECT_EQ(object<KaParSystem>("smoke").SizeAdd, -0.4f);
    EXPECT_EQ(text("ParticleCount"), "Кол-во частиц: 40");
    find<QPushButton>(*form, "ParticleRecount")->click(); // cancel
    find<QPushButton>(*form, "ParticleRecount")->click(); // refused
    EXPECT_EQ(object<KaParSystem>("smoke").Count(), 40);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    undo();
    EXPECT_EQ(object<KaParSystem>("smoke").Count(), 10);
}

TEST_F(PropertiesPage, DirectionBoxesTakeEitherSeparatorAndRefuseText)
{
    auto& smoke = select<KaParSystem>("smoke", 4);
    auto* x = find<QLineEdit>(*form, "dirX");
    x->setFocus();
    x->selectAll();
    QTest::keyClicks(x, "1,5");
    QTest::keyClick(x, Qt::Key_Return);
    EXPECT_EQ(smoke.EmitDirection.x, 1.5f);
    x->selectAll();
    QTest::keyClicks(x, "abc");
    QTest::keyClick(x, Qt::Key_Return);
    EXPECT_EQ(smoke.EmitDirection.x, 1.5f);
    EXPECT_EQ(x->text(), QStringLiteral("1.500"));
}

TEST_F(PropertiesPage, ATextureIsChosenOnceCancelChangesNothingAndADamagedFileIsAnError)
{
    auto& sprite = select<KaSprite>("spr");
    fs::create_directories(dir() / "textures");
    ra7::test::writeFile(dir() / "textures" / "Glow.tga", ra7::test::solidTga(4, 4, 200, 0, 0));
    ra7::test::writeFile(dir() / "textures" / "broken.tga", "this is no image");

    dialogs.answers = {(dir() / "textures" / "Glow.tga").string()};
    chooseButton("GlowTexture");
    EXPECT_EQ(sprite.Texture1, "textures\\glow.tga");
    EXPECT_NE(Textures->Find("textures\\glow.tga"), nullptr);
    EXPECT_TRUE(hasLine("  Файл <textures\\glow.tga> добавлен"));
    EXPECT_EQ(find<QLineEdit>(*form, "GlowTexture")->text(), QStringLiteral("textures\\glow.tga"));

    dialogs.answers = {std::nullopt};
    chooseButton("StarTexture");
    EXPECT_EQ(sprite.Texture2, "");

    dialogs.answers = {(dir() / "textures" / "broken.tga").string()};
    chooseButton("StarTexture");
    EXPECT_EQ(sprite.Texture2, "");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_THAT(dialogs.errors[0], ::testing::HasSubstr("textures\\broken.tga"));
    EXPECT_FALSE(hasLine("  Файл <textures\\broken.tga> добавлен"));

    dialogs.answers = {(dir() / "textures" / "gone.tga").string()};
    chooseButton("StreakTexture");
    EXPECT_EQ(sprite.Texture3, "textures\\gone.tga"); // shown as missing when drawn
    EXPECT_TRUE(hasLine("  Файл <textures\\gone.tga> не найден"));
    undo();
    EXPECT_EQ(sprite.Texture3, "");
    undo();
    EXPECT_EQ(sprite.Texture1, "");
}

// Cancelling the sound dialog used to clear the name while the sound stayed attached.
TEST_F(PropertiesPage, ASoundIsChosenCancelKeepsItAndADamagedFileIsAnError)
{
    auto& source = select<KaSound>("snd");
    ra7::test::writeFile(dir() / "Wind.wav", wave(2205));
    ra7::test::writeFile(dir() / "bad.wav", wave(0, true));
    dialogs.answers = {(dir() / "Wind.wav").string()};
    chooseButton("SoundFile");
    EXPECT_EQ(source.SoundName, "Wind.wav");
    EXPECT_EQ(source.BufferSize, 4410);
    EXPECT_TRUE(hasLine("  Файл <Wind.wav> добавлен"));

    dialogs.answers = {std::nullopt};
    chooseButton("SoundFile");
    EXPECT_EQ(source.SoundName, "Wind.wav");

    dialogs.answers = {(dir() / "bad.wav").string()};
    chooseButton("SoundFile");
    EXPECT_EQ(source.SoundName, "Wind.wav");
    EXPECT_EQ(dialogs.errors.size(), 1u);

    find<QToolButton>(*form, "SoundPlay")->click();
    find<QToolButton>(*form, "SoundStop")->click();
    waitFrames(2);
    EXPECT_EQ(text("SoundOffsets"), "i1 0 i2 0 i3 0");
    EXPECT_EQ(find<QSlider>(*form, "SoundPosition")->maximum(), 4410);
    undo();
    EXPECT_EQ(source.SoundName, "");
}

// Choosing a level of detail used to unload the mesh the box named before,
// blanking the other object that shared it.
TEST_F(PropertiesPage, AMeshIsChosenPerLevelAndASharedMeshStaysLoaded)
{
    ra7::test::saveMesh(*ra7::test::triangleMesh("meshes\\crate.mes"), dir() / "meshes" / "crate.mes");
    ra7::test::saveMesh(*ra7::test::triangleMesh("meshes\\Barrel.mes"), dir() / "meshes" / "Barrel.mes");
    ra7::test::writeFile(dir() / "meshes" / "broken.mes", "no mesh at all");
    auto& other = select<KaGeometry>("other");
    dialogs.answers = {(dir() / "meshes" / "crate.mes").string()};
    chooseButton("MaxLod");
    EXPECT_EQ(other.MeshName, "meshes\\crate.mes");
    auto& box = select<KaGeometry>("box");
    dialogs.answers = {(dir() / "meshes" / "crate.mes").string()};
    chooseButton("MaxLod");
    EXPECT_EQ(box.MeshName, "meshes\\crate.mes");

    dialogs.answers = {(dir() / "meshes" / "Barrel.mes").string()};
    chooseButton("MaxLod");
    EXPECT_EQ(box.MeshName, "meshes\\Barrel.mes"); // the name the mesh file gives its mesh
    EXPECT_EQ(box.MeshLod1, "");
    EXPECT_EQ(find<QLineEdit>(*form, "MaxLod")->text(), QStringLiteral("meshes\\Barrel.mes"));
    EXPECT_GE(Meshes->IndexOf("meshes\\crate.mes"), 0);
    EXPECT_EQ(other.MeshName, "meshes\\crate.mes");
    EXPECT_TRUE(hasLine("  Файл <meshes\\barrel.mes> добавлен"));

    dialogs.answers = {std::nullopt};
    chooseButton("MidLod");
    EXPECT_EQ(box.MeshLod1, "");
    dialogs.answers = {(dir() / "meshes" / "broken.mes").string()};
    chooseButton("MinLod");
    EXPECT_EQ(box.MeshLod2, "");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_THAT(dialogs.errors[0], ::testing::HasSubstr("broken.mes"));
    EXPECT_FALSE(hasLine("  Файл <meshes\\broken.mes> добавлен"));

    undo();
    EXPECT_EQ(box.MeshName, "meshes\\crate.mes");
    EXPECT_EQ(find<QLineEdit>(*form, "MaxLod")->text(), QStringLiteral("meshes\\crate.mes"));
}

TEST_F(PropertiesPage, MaterialsAndSecondariesAreTakenOnlyFromTheirLists)
{
    auto stone = std::make_unique<KaMaterial>();
    stone->Name = "stone";
    Materials->Add(std::move(stone));
    KaLensFlare flare;
    flare.Name = "sunflare";
    LensFlares->AddCopy(flare);
    auto& box = select<KaGeometry>("box");
    dialogs.answers = {std::string("stnoe"), std::nullopt, std::string(" stone ")};
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(find<QLineEdit>(*form, "MaterialName"), Qt::LeftButton);
    EXPECT_EQ(box.MaterialName, "stone");
    ASSERT_EQ(dialogs.messages.size(), 1u); // the typo, not the cancel
    chooseButton("MaterialName");
    auto* menu = find<TGeometryPanel>(*form, "GeometryPanel")->findChild<QMenu*>("MaterialMenu");
    ASSERT_NE(menu, nullptr);
    const auto actions = menu->actions();
    auto none = std::find_if(actions.begin(), actions.end(),
                             [](QAction* a) { return a->text() == QStringLiteral("Без материала"); });
    ASSERT_NE(none, actions.end());
    (*none)->trigger();
    menu->close();
    EXPECT_EQ(box.MaterialName, "");

    auto& sprite = select<KaSprite>("spr");
    dialogs.messages.clear();
    dialogs.answers = {std::string("moon"), std::string("sunflare")};
    chooseButton("SecondaryName");
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"Неверно набранное имя!"}));
    EXPECT_EQ(sprite.FlareName, "");
    chooseButton("SecondaryName");
    EXPECT_EQ(sprite.FlareName, "sunflare");
}

TEST_F(PropertiesPage, DeletingTheSelectedObjectEmptiesThePage)
{
    select<KaLight>("lamp");
    form->Hierarchy().DeleteSelection();
    EXPECT_EQ(page().KindLabel().text(), QStringLiteral("нет выбранных объектов"));
    EXPECT_EQ(page().ShownPanel(), nullptr);
}

TEST_F(PropertiesPage, StaticIsOneStepForEveryKind)
{
    auto& lamp = select<KaLight>("lamp");
    tick(find<QCheckBox>(*form, "StaticBox"));
    EXPECT_TRUE(lamp.Static);
    undo();
    EXPECT_FALSE(lamp.Static);
    EXPECT_FALSE(find<QCheckBox>(*form, "StaticBox")->isChecked());
}

} // namespace
} // namespace ra7::editor
