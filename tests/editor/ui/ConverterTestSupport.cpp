#include "editor/ui/ConverterTestSupport.h"

#include "scene/Ka7SceneUnit.h"

#include <QListWidget>
#include <QProcess>
#include <QTest>

#include <algorithm>

namespace fs = std::filesystem;

namespace ra7::editor {

void ConverterWindow::SetUp()
{
    MainWindow::SetUp();
    if (!fs::exists(kAssimpModels / "spider.obj"))
        RA7_SKIP_WITHOUT("assimp-testmodels is not installed (scripts/packages.txt lists it)");
}

void ConverterWindow::press(const char* page, const char* name)
{
    form->ShowPage(QString::fromLatin1(page));
    auto* button = find<QPushButton>(*form, name);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

void ConverterWindow::loadModel(const fs::path& model)
{
    dialogs.answers.push_back(model.string());
    pressConverter("LoadObjButton");
}

void ConverterWindow::convertInto(const std::string& folder)
{
    fs::create_directories(dir() / folder);
    dialogs.answers.push_back((dir() / folder).string());
    pressConverter("ConvertButton");
}

void ConverterWindow::saveKgfWithEveryGeometry(const std::string& file)
{
    dialogs.answers.push_back((dir() / file).string());
    dialogs.onModal = [this](QDialog& window) {
        auto* geometry = find<QListWidget>(window, "GeomList");
        while (geometry->count() > 0) {
            geometry->setCurrentRow(0);
            find<QPushButton>(window, "AddToSave")->click();
        }
    };
    pressConverter("SaveKgfButton");
    dialogs.onModal = nullptr;
}

int ConverterWindow::runRa7(const fs::path& workDir, const std::vector<std::string>& arguments,
                            std::string* output)
{
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(workDir.string()));
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    process.start(QString::fromStdString(test::ra7ToolPath().string()), list);
    process.waitForFinished(120000);
    if (output)
        *output = process.readAllStandardOutput().toStdString();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

std::vector<std::string> ConverterWindow::filesUnder(const fs::path& folder)
{
    std::vector<std::string> names;
    if (!fs::exists(folder))
        return names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

std::int32_t ConverterWindow::geometryCount()
{
    std::int32_t count = 0;
    for (std::int32_t i = 0; i < SceneObjects->Count(); ++i)
        if (SceneObjects->GetItem(i)->Kind() == KaObjKind::Geometry)
            ++count;
    return count;
}

std::vector<std::string> ConverterWindow::logLines()
{
    return readTextLines("log.txt");
}

} // namespace ra7::editor
