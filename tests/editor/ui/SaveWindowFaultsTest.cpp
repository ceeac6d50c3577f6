// The save command and the shader chooser as a user leaves them: an empty
// "На сохранение:", an object added again on the next save, Escape, the
// close button and "OK".
#include "editor/ui/MainWindowTest.h"

#include "core/SaveWindowModel.h"
#include "resources/Ka7Shaders.h"
#include "runtime/RecordFile.h"
#include "scene/SceneFile.h"
#include "ui/TSaveForm.h"
#include "ui/TShadersForm.h"

#include <QListWidget>
#include <QPushButton>

namespace ra7::editor {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesInFile(const fs::path& path)
{
    RecordReader file = RecordReader::openFile(path.string());
    const SceneFileContents contents = ReadSceneFileContents(file);
    std::vector<std::string> names;
    for (const auto& object : contents.Objects)
        names.push_back(object->Name());
    return names;
}

TEST_F(MainWindow, SavingWithNothingToSaveSaysSoAndKeepsTheFile)
{
    startWithEditorData();
    ra7::test::writeFile(dir() / "level.kgf", "the level as it was");
    dialogs.answers = {(dir() / "level.kgf").string()};
    EXPECT_FALSE(form->SaveSceneCommand());
    EXPECT_EQ(dialogs.modalWindows, (std::vector<std::string>{"Сохранить..."}));
    EXPECT_EQ(dialogs.errors, (std::vector<std::string>{kNothingToSave}));
    EXPECT_TRUE(hasLine(std::string("! ") + kNothingToSave));
    EXPECT_FALSE(hasLine("  --Cохранено успешно..."));
    EXPECT_EQ(ra7::test::readFile(dir() / "level.kgf"), "the level as it was");
}

TEST_F(MainWindow, AnObjectAddedAgainOnTheNextSaveIsWrittenOnce)
{
    startWithEditorData();
    writeScene(dir() / "crates.kgf", {{"crate", "data\\box.mes"}});
    form->LoadSceneFile((dir() / "crates.kgf").string());
    auto addCrate = [&](QDialog& window) {
        auto* geometry = find<QListWidget>(window, "GeomList");
        const auto found = geometry->findItems(QStringLiteral("crate"), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        geometry->setCurrentItem(found.front());
        find<QPushButton>(window, "AddToSave")->click();
    };
    dialogs.onModal = addCrate;
    dialogs.answers = {(dir() / "first.kgf").string()};
    ASSERT_TRUE(form->SaveSceneCommand());
    EXPECT_EQ(namesInFile(dir() / "first.kgf"), (std::vector<std::string>{"crate"}));
    // The next save shows every object again, "crate" included, and the user adds it again.
    dialogs.answers = {(dir() / "second.kgf").string()};
    ASSERT_TRUE(form->SaveSceneCommand());
    EXPECT_EQ(find<QListWidget>(form->SaveForm(), "SaveList")->count(), 1);
    EXPECT_EQ(namesInFile(dir() / "second.kgf"), (std::vector<std::string>{"crate"}));
}

// However the save window is left (Escape, its close button, "ОК"), the
// save goes on with the names in "На сохранение:".
TEST_F(MainWindow, TheSaveWindowSavesHoweverItIsLeft)
{
    startWithEditorData();
    writeScene(dir() / "crates.kgf", {{"crate", "data\\box.mes"}});
    form->LoadSceneFile((dir() / "crates.kgf").string());
    dialogs.onModal = [&](QDialog& window) {
        if (find<QListWidget>(window, "SaveList")->count() > 0)
            return; // the list is kept between saves
        find<QListWidget>(window, "GeomList")->setCurrentRow(0);
        find<QPushButton>(window, "AddToSave")->click();
    };
    for (const auto& [outcome, file] : {std::pair{test::ModalOutcome::Escape, "escape.kgf"},
                                        std::pair{test::ModalOutcome::Reject, "closed.kgf"},
                                        std::pair{test::ModalOutcome::Accept, "ok.kgf"}}) {
        dialogs.modalOutcomes = {outcome};
        dialogs.answers = {(dir() / file).string()};
        EXPECT_TRUE(form->SaveSceneCommand()) << file;
        EXPECT_EQ(namesInFile(dir() / file), (std::vector<std::string>{"crate"})) << file;
    }
    EXPECT_EQ(dialogs.modalWindows.size(), 3u);
    EXPECT_TRUE(dialogs.modalOutcomes.empty()) << "every outcome was used";
}

TEST_F(MainWindow, EscapeInTheShaderChooserChoosesNothing)
{
    startWithEditorData();
    TShadersForm& chooser = form->ShadersForm();
    dialogs.onModal = [&](QDialog& window) { find<QListWidget>(window, "VertexList")->setCurrentRow(0); };
    dialogs.modalOutcomes = {test::ModalOutcome::Escape, test::ModalOutcome::Reject,
                             test::ModalOutcome::Accept};
    EXPECT_EQ(chooser.ChooseShader(true, true, true), nullptr) << "Escape";
    EXPECT_EQ(chooser.ChooseShader(true, true, true), nullptr) << "the window's close button";
    const KaShader* chosen = chooser.ChooseShader(true, true, true);
    ASSERT_NE(chosen, nullptr) << "OK";
    EXPECT_EQ(chosen->ShaderKind(), KaShader::VertexProgram);
}

} // namespace
} // namespace ra7::editor
