// The converter page under a real main window: real OBJ models of Debian's
// assimp-testmodels package loaded through the dialog interface, the real
// progress window, and the results compared with the ra7 tool's.

#include "editor/ui/ConverterTestSupport.h"

#include "WorkProgress.h"
#include "core/EditorDocument.h"
#include "effects/Ka7Light.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7GlobalEngine.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/LongWork.h"
#include "ui/TConsoleForm.h"
#include "ui/TGLView.h"
#include "ui/TPageHost.h"

#include <algorithm>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <regex>
#include <thread>

namespace fs = std::filesystem;

namespace ra7::editor {
namespace {

using ::testing::HasSubstr;

const fs::path kSpider = kAssimpModels / "spider.obj";

std::vector<std::string> meshNames()
{
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < Meshes->Count(); ++i)
        names.push_back(Meshes->Get(i).Name);
    return names;
}

std::vector<std::string> objectNames()
{
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < SceneObjects->Count(); ++i)
        names.push_back(SceneObjects->GetItem(i)->Name());
    return names;
}

std::vector<std::string> materialNames()
{
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < Materials->Count(); ++i)
        names.push_back(Materials->Get(i).Name);
    return names;
}

// --- the same results as ra7 convert ---------------------------------------------

class ConverterMatchesRa7 : public ConverterWindow, public ::testing::WithParamInterface<int> {};

TEST_P(ConverterMatchesRa7, SpiderThroughThePageIsByteForByteWhatRa7ConvertWrites)
{
    const int method = GetParam();
    startWithEditorData();
    loadModel(kSpider);
    ASSERT_TRUE(converter().State().ModelLoaded());
    dialogs.answers.push_back("2");
    pressConverter("ScaleButton");
    convertInto("meshes");
    const char* tangentButtons[] = {nullptr, "TangentButton", "Tangent2Button", "MenderButton"};
    if (method > 0)
        pressConverter(tangentButtons[method]);
    saveKgfWithEveryGeometry("spider.kgf");
    pressConverter("CancelConversionButton");
    if (method != 3) // the mender's run has written every mesh already
        pressMeshes("SaveAllMeshesButton");
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();

    const fs::path tool = dir() / "by-ra7";
    ASSERT_EQ(runRa7(dir(), {"init", tool.string()}), 0);
    ASSERT_EQ(runRa7(tool, {"convert", kSpider.string(), "-f", "meshes", "-o", "spider.kgf", "-s", "2", "-t",
                            std::to_string(method), "--quiet"}),
              0);
    const std::vector<std::string> pageFiles = filesUnder(dir() / "meshes");
    // The meshes, and the images found beside the model copied next to them.
    ASSERT_EQ(std::count_if(pageFiles.begin(), pageFiles.end(),
                            [](const std::string& file) { return file.ends_with(".mes"); }),
              19);
    ASSERT_EQ(pageFiles, filesUnder(tool / "meshes"));
    for (const std::string& file : pageFiles)
        EXPECT_EQ(ra7::test::readFile(dir() / "meshes" / file), ra7::test::readFile(tool / "meshes" / file))
            << file;
    for (const char* file : {"spider.kgf", "spider.kmt"}) {
        ASSERT_TRUE(fs::exists(dir() / file)) << file;
        EXPECT_EQ(ra7::test::readFile(dir() / file), ra7::test::readFile(tool / file)) << file;
    }

    // What another reader sees in the page's files.
    std::vector<std::string> arguments = {"info", "--json"};
    for (const std::string& file : pageFiles)
        if (file.ends_with(".mes"))
            arguments.push_back((fs::path("meshes") / file).string());
    std::string json;
    ASSERT_EQ(runRa7(dir(), arguments, &json), 0);
    const QJsonArray meshes = QJsonDocument::fromJson(QByteArray::fromStdString(json)).array();
    ASSERT_EQ(meshes.size(), 19);
    for (const QJsonValue& mesh : meshes) {
        EXPECT_GT(mesh[QStringLiteral("vertices")].toInt(), 0);
        EXPECT_EQ(mesh[QStringLiteral("tangentSpace")].toBool(), method != 0)
            << mesh[QStringLiteral("name")].toString().toStdString();
    }
    std::string scene;
    ASSERT_EQ(runRa7(dir(), {"info", "--json", "spider.kgf"}, &scene), 0);
    EXPECT_EQ(
        QJsonDocument::fromJson(QByteArray::fromStdString(scene))[QStringLiteral("objects")].toArray().size(),
        19);
}

INSTANTIATE_TEST_SUITE_P(EveryTangentMethod, ConverterMatchesRa7, ::testing::Values(0, 1, 2, 3));

// --- the page's one state ------------------------------------------------------------

TEST_F(ConverterWindow, LeavingTheConverterWhileAModelIsHeldIsRefused)
{
    startWithEditorData();
    loadModel(kSpider);
    ASSERT_TRUE(converter().State().ModelLoaded());
    EXPECT_EQ(converter().LeaveRefusal(), "Отмените конвертацию!");
    EXPECT_FALSE(form->ShowPage(QStringLiteral("meshes")));
    EXPECT_EQ(form->Pages().CurrentId(), QStringLiteral("converter"));
    EXPECT_TRUE(hasLine("! Отмените конвертацию!"));
    // A click on another tab, as the user would.
    QTabBar* tabs = form->Pages().tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(form->Pages().CurrentId(), QStringLiteral("converter"));

    pressConverter("CancelConversionButton");
    EXPECT_FALSE(converter().State().ModelLoaded());
    EXPECT_TRUE(form->ShowPage(QStringLiteral("meshes")));
}

TEST_F(ConverterWindow, ASecondModelIsRefusedWhileOneIsHeld)
{
    startWithEditorData();
    loadModel(kSpider);
    const std::int32_t groups = converter().State().Model().GroupCount;
    loadModel(kAssimpModels / "regr01.obj");
    EXPECT_EQ(dialogs.messages.back(),
              "Внимание! Модель уже загружена! Отмените конвертацию и попробуйте еще раз");
    EXPECT_EQ(converter().State().Model().GroupCount, groups);
    EXPECT_EQ(dialogs.answers.size(), 1u) << "no file dialog was shown";
}

TEST_F(ConverterWindow, AModelWithQuadsIsReportedAndDropped)
{
    startWithEditorData();
    loadModel(kAssimpModels / "box.obj");
    EXPECT_FALSE(converter().State().ModelLoaded());
    EXPECT_TRUE(hasLine("  --Конвертер: Ошибка! Модель не триангулирована!"));
    EXPECT_TRUE(hasLine("  --Конвертер: Отмена конвертации!"));
    EXPECT_TRUE(form->ShowPage(QStringLiteral("meshes")));
}

TEST_F(ConverterWindow, AnEmptyOrMissingModelIsAFailedLoad)
{
    startWithEditorData();
    loadModel(fs::path("/usr/share/assimp/models/invalid/empty.obj"));
    EXPECT_FALSE(converter().State().ModelLoaded());
    loadModel(dir() / "no-such-model.obj");
    EXPECT_FALSE(converter().State().ModelLoaded());
    const auto lines = logLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  --Конвертер: Ошибка! В модели нет ни одной грани!"),
              2);
    EXPECT_FALSE(find<QPushButton>(*form, "ConvertButton")->isEnabled());
}

TEST_F(ConverterWindow, LoadAndConversionTimesAreWrittenInTheElapsedFormat)
{
    startWithEditorData();
    loadModel(kSpider);
    convertInto("meshes");
    const std::regex elapsed(R"((\d{1,3}|\d+\.\d{3} милисекунд|\d+\.\d{6} секунды))");
    int seen = 0;
    for (const std::string& line : logLines())
        for (const std::string prefix :
             {"  --Конвертер: загрузка окончена за ", "  --Конвертер: конвертация окончена за "})
            if (line.rfind(prefix, 0) == 0) {
                ++seen;
                EXPECT_TRUE(std::regex_match(line.substr(prefix.size()), elapsed)) << line;
            }
    EXPECT_EQ(seen, 2);
    EXPECT_TRUE(hasLine("  --Конвертер: Можете сохранить модель..."));
}

TEST_F(ConverterWindow, AMovedWorkingDirectoryIsPutBackAndReported)
{
    startWithEditorData();
    fs::create_directory(dir() / "elsewhere");
    bool moved = false;
    converter().onWork = [&](WorkProgress& progress) {
        // Something moves the process's working directory while the model is read.
        progress.Observer = [&](const WorkProgress::State& state) {
            if (state.done > 0 && !moved) {
                moved = true;
                fs::current_path(dir() / "elsewhere");
            }
        };
    };
    loadModel(kSpider);
    ASSERT_TRUE(moved);
    EXPECT_EQ(fs::current_path(), dir());
    EXPECT_TRUE(hasLine("  !!!!!!! ERROR with path"));
    EXPECT_TRUE(form->ConsoleForm().isVisible());
    EXPECT_TRUE(converter().State().ModelLoaded()) << "the model stays loaded";
    EXPECT_FALSE(fs::exists(dir() / "elsewhere" / "log.txt")) << "the log stays where it belongs";
}

TEST_F(ConverterWindow, ScaleAcceptsOnlyAFiniteNumberAboveZero)
{
    startWithEditorData();
    loadModel(kSpider);
    const Vector3 before = converter().State().Model().Vertices[1];
    const std::vector<std::string> refused = {"0", "-1", "abc", "nan", "inf", "1e39", ""};
    for (const std::string& answer : refused) {
        dialogs.answers.push_back(answer);
        pressConverter("ScaleButton");
        EXPECT_EQ(converter().State().Model().Vertices[1], before) << answer;
    }
    EXPECT_EQ(dialogs.errors.size(), refused.size());
    dialogs.answers.push_back("1");
    pressConverter("ScaleButton");
    EXPECT_EQ(converter().State().Model().Vertices[1], before);
    dialogs.answers.push_back("0,5");
    pressConverter("ScaleButton");
    EXPECT_EQ(converter().State().Model().Vertices[1], VectorScale(before, 0.5f));
    const Vector3 last = converter().State().Model().Vertices[converter().State().Model().VertexCount];
    dialogs.answers.push_back({}); // cancelled
    pressConverter("ScaleButton");
    EXPECT_EQ(converter().State().Model().Vertices[converter().State().Model().VertexCount], last);
    EXPECT_EQ(dialogs.errors.size(), refused.size());
}

TEST_F(ConverterWindow, CancellingTheFolderDialogConvertsNothing)
{
    startWithEditorData();
    loadModel(kSpider);
    const auto objects = objectNames();
    dialogs.answers.push_back({});
    pressConverter("ConvertButton");
    EXPECT_EQ(objectNames(), objects);
    EXPECT_FALSE(form->Document()->CanUndo());
}

// --- long work ----------------------------------------------------------------------

TEST_F(ConverterWindow, StoppingAConversionHalfWayLeavesNoFileAndNoChange)
{
    startWithEditorData();
    loadModel(kSpider);
    const auto objects = objectNames();
    const auto meshes = meshNames();
    std::atomic<bool> held{false};
    converter().onWork = [&held](WorkProgress& progress) {
        progress.Observer = [&held, &progress](const WorkProgress::State& state) {
            if (state.done != 3)
                return;
            // The work waits here, three groups written, for the user's "Отмена".
            held = true;
            for (int i = 0; i < 2000 && !progress.CancelRequested(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        };
    };
    long framesWhenHeld = -1;
    bool clicked = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!held || clicked)
            return;
        if (framesWhenHeld < 0)
            framesWhenHeld = form->FramesDrawn();
        auto* window = form->findChild<TProgressWindow*>(QStringLiteral("ProgressWindow"));
        // The view keeps drawing while the work runs.
        if (!window || !window->isVisible() || form->FramesDrawn() < framesWhenHeld + 3)
            return;
        clicked = true;
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("ProgressCancel")), Qt::LeftButton);
    });
    poll.start();
    convertInto("meshes");
    poll.stop();
    ASSERT_TRUE(clicked);
    EXPECT_TRUE(filesUnder(dir() / "meshes").empty()) << "no mesh file, no staged file";
    EXPECT_EQ(objectNames(), objects);
    EXPECT_EQ(meshNames(), meshes);
    EXPECT_FALSE(form->Document()->CanUndo());
    EXPECT_FALSE(form->Document()->Modified());
    EXPECT_TRUE(hasLine("- Конвертация: отменено, ничего не изменено"));
    EXPECT_TRUE(converter().State().ModelLoaded());
}

TEST_F(ConverterWindow, AConversionIsOneStepThatUndoesAndRedoesExactly)
{
    startWithEditorData();
    loadModel(kSpider);
    // The textures the materials name, found in the target folder.
    fs::create_directories(dir() / "meshes");
    for (const char* image : {"wal67ar_small.jpg", "wal69ar_small.jpg", "SpiderTex.jpg"})
        fs::copy_file(kAssimpModels / image, dir() / "meshes" / image);
    const auto objects = objectNames();
    const auto meshes = meshNames();
    const std::int32_t textures = Textures->Count();
    convertInto("meshes");
    const auto convertedObjects = objectNames();
    const auto convertedMeshes = meshNames();
    const auto convertedMaterials = materialNames();
    ASSERT_EQ(geometryCount(), 19);
    ASSERT_GT(Textures->Count(), textures);
    EXPECT_EQ(form->Document()->UndoLabel(), "Конвертация spider.obj");
    EXPECT_TRUE(form->Document()->Modified());

    action("ActionUndo")->trigger();
    EXPECT_EQ(objectNames(), objects);
    EXPECT_EQ(meshNames(), meshes);
    EXPECT_TRUE(materialNames().empty());
    EXPECT_EQ(Textures->Count(), textures);
    // 19 meshes, the three images put there and the two the conversion copied from beside the model.
    EXPECT_EQ(filesUnder(dir() / "meshes").size(), 19u + 3 + 2) << "the files stay written";
    EXPECT_TRUE(treeNames().size() == objects.size());

    action("ActionRedo")->trigger();
    EXPECT_EQ(objectNames(), convertedObjects);
    EXPECT_EQ(meshNames(), convertedMeshes);
    EXPECT_EQ(materialNames(), convertedMaterials);
    EXPECT_EQ(treeNames().size(), convertedObjects.size());
}

TEST_F(ConverterWindow, ConvertingAgainAfterScaleDrawsTheNewMeshesAndUndoBringsBackTheOld)
{
    startWithEditorData();
    loadModel(kSpider);
    convertInto("meshes");
    ASSERT_GT(Meshes->Count(), 0);
    const std::string first = Meshes->Get(0).Name;
    const Vector3 before = Meshes->Get(0).Vertices[0];
    const std::size_t count = meshNames().size();

    dialogs.answers.push_back("2");
    pressConverter("ScaleButton");
    dialogs.confirmations.push_back(false); // keep the files: nothing happens
    convertInto("meshes");
    EXPECT_THAT(dialogs.questions.back(), HasSubstr("Файлы мешей уже есть"));
    EXPECT_EQ(Meshes->Get(0).Vertices[0], before);

    dialogs.confirmations.push_back(true);
    convertInto("meshes");
    ASSERT_EQ(meshNames().size(), count);
    EXPECT_EQ(Meshes->Get(0).Name, first);
    EXPECT_EQ(Meshes->Get(0).Vertices[0], VectorScale(before, 2));
    EXPECT_EQ(geometryCount(), 38) << "the second conversion adds its own objects";

    action("ActionUndo")->trigger();
    EXPECT_EQ(Meshes->Get(0).Vertices[0], before);
    EXPECT_EQ(geometryCount(), 19);
}

TEST_F(ConverterWindow, TangentSpaceIsOneStepAndUndoPutsTheOldVectorsBack)
{
    startWithEditorData();
    loadModel(kSpider);
    convertInto("meshes");
    const KaGeomData3 before = Meshes->Get(0).Tangents;
    pressConverter("TangentButton");
    EXPECT_TRUE(hasLine("  --Конвертер: вычисления tangent space окончены..."));
    EXPECT_TRUE(hasLine("- Tangent space посчитан для мешей: 19"));
    const KaGeomData3 computed = Meshes->Get(0).Tangents;
    EXPECT_NE(computed, before);
    action("ActionUndo")->trigger();
    EXPECT_EQ(Meshes->Get(0).Tangents, before);
    action("ActionRedo")->trigger();
    EXPECT_EQ(Meshes->Get(0).Tangents, computed);
}

TEST_F(ConverterWindow, TangentSpaceOverMeshesInVideoMemorySaysWhyNothingWasComputed)
{
    Settings.UseVBO = true;
    SaveConfig(kConfigFileName);
    startWithEditorData();
    ASSERT_TRUE(Settings.UseVBO) << "the driver offers vertex buffers";
    loadModel(kSpider);
    convertInto("meshes");
    pressConverter("Tangent2Button");
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_THAT(dialogs.messages.back(), HasSubstr("USE VBO"));
    EXPECT_TRUE(hasLine("! Tangent space не посчитан"));
    EXPECT_FALSE(hasLine("  --Конвертер: вычисления tangent space окончены"));
    EXPECT_EQ(form->Document()->UndoLabel(), "Конвертация spider.obj") << "no step for nothing";
}

TEST_F(ConverterWindow, MenderMissingDisablesItsButtonAndSaysWhy)
{
    startWithEditorData();
    EXPECT_TRUE(find<QPushButton>(*form, "MenderButton")->isEnabled()) << "found at start-up";
    const std::string why =
        "NVMeshMender: cannot load libmeshmender.so (gone); the third tangent-space method is "
        "disabled";
    converter().UseMeshMender(nullptr, why);
    auto* button = find<QPushButton>(*form, "MenderButton");
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(button->toolTip().toStdString(), why);
    EXPECT_EQ(find<QLabel>(*form, "MenderNote")->text().toStdString(), why);
}

TEST_F(ConverterWindow, MenderRefusingAMeshIsReportedAndTheOthersAreComputedAndWritten)
{
    startWithEditorData();
    loadModel(kSpider);
    convertInto("meshes");
    // A damaged mesh: an index past its last vertex.
    KaMesh& damaged = Meshes->Get(0);
    damaged.Indices.back() = static_cast<std::uint32_t>(damaged.VertexCount);
    pressConverter("MenderButton");
    EXPECT_TRUE(hasLine("! NVMeshMender не смог обработать меш <" + damaged.Name + ">"));
    EXPECT_TRUE(hasLine("- Tangent space посчитан для мешей: 18"));
    ASSERT_FALSE(dialogs.errors.empty());
    EXPECT_THAT(dialogs.errors.back(), HasSubstr("NVMeshMender отказался от 1"));
    EXPECT_TRUE(hasLine("  --Cохранено..."));
}

// --- the preview ----------------------------------------------------------------------

// A quad facing the default camera, five units in front of it.
void writeQuadModel(const fs::path& path)
{
    ra7::test::writeFile(path, "v -3 -3 -5\nv 3 -3 -5\nv 3 3 -5\nv -3 3 -5\nvn 0 0 1\n"
                               "g quad\nf 1//1 2//1 3//1\nf 1//1 3//1 4//1\n");
}

int centreBrightness(TGLView& view)
{
    const QImage image = view.grabFramebuffer();
    const QRgb pixel = image.pixel(image.width() / 2, image.height() / 2);
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel);
}

TEST_F(ConverterWindow, PreviewIsDrawnInTheViewLitByTheFirstLight)
{
    startWithEditorData();
    writeQuadModel(dir() / "quad.obj");
    waitFrames(2);
    const int background = centreBrightness(form->View());
    auto* light = dynamic_cast<KaLight*>(SceneObjects->FindByName("lig1"));
    ASSERT_NE(light, nullptr);
    light->Diffuse = {1, 1, 1, 1};
    loadModel(dir() / "quad.obj");
    ASSERT_TRUE(converter().State().ModelLoaded());
    const int lit = centreBrightness(form->View());
    EXPECT_NE(lit, background) << "the model covers the centre";
    light->Diffuse = {0, 0, 0, 1};
    light->Ambient = {0, 0, 0, 1};
    const int dark = centreBrightness(form->View());
    EXPECT_LT(dark, lit) << "the first light lights the preview";
    pressConverter("CancelConversionButton");
    EXPECT_EQ(centreBrightness(form->View()), background);
}

TEST_F(ConverterWindow, CancelAndShutDownLetGoOfThePreviewTextures)
{
    startWithEditorData();
    const std::int32_t textures = Textures->Count();
    loadModel(kSpider);
    EXPECT_EQ(Textures->Count(), textures + 5) << "the spider's five images, for the preview";
    pressConverter("CancelConversionButton");
    EXPECT_EQ(Textures->Count(), textures);

    loadModel(kSpider);
    form.reset(); // closing the editor with a model held
    const auto lines = readTextLines("log.txt");
    const std::string released = "- Конвертер: модель выгружена";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), released), 2);
    const auto lastRelease = std::find(lines.rbegin(), lines.rend(), released).base();
    const auto engineDone = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("Деинициализируем текстуры") != std::string::npos;
    });
    EXPECT_LT(lastRelease - lines.begin(), engineDone - lines.begin()) << "the model goes before the engine";
}

// --- GMS ------------------------------------------------------------------------------

TEST_F(ConverterWindow, GmsObjectsArriveAsOneStepAndTheLogSaysWhereTheirMeshesWillGo)
{
    startWithEditorData();
    ra7::test::writeFile(
        dir() / "level.gms",
        "gmax\r\nNew Object\r\n{\r\n1 2 3\r\nFloor\r\ntrimesh()\r\nmesh\r\n3 1 3\r\n"
        "vertices\r\n0 0 0\r\n1 0 0\r\n1 1 0\r\nend\r\nfaces\r\n0 1 2\r\nend\r\n"
        "normals\r\n0 0 1\r\n0 0 1\r\n0 0 1\r\nend\r\ntexcoords\r\n0 0\r\n1 0\r\n1 1\r\nend\r\n"
        "texfaces\r\n0 1 2\r\nend\r\n}\r\n");
    dialogs.answers.push_back((dir() / "level.gms").string());
    pressConverter("LoadGmsButton");
    ASSERT_NE(SceneObjects->FindByName("Floor"), nullptr);
    EXPECT_NE(Meshes->Find("FloorMesh"), nullptr);
    EXPECT_FALSE(converter().State().ModelLoaded()) << "GMS is not held";
    EXPECT_TRUE(hasLine("- Меши GMS ещё не записаны"));
    EXPECT_EQ(form->Document()->UndoLabel(), "Загрузить GMS level.gms");
    action("ActionUndo")->trigger();
    EXPECT_EQ(SceneObjects->FindByName("Floor"), nullptr);
    EXPECT_EQ(Meshes->Find("FloorMesh"), nullptr);
}

} // namespace
} // namespace ra7::editor
