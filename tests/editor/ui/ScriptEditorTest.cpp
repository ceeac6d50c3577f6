// The animation panel and the script editor window driven like a user: a
// script loaded from a file plays over the scene and moves its object,
// pauses, stops, and "Вернуть сцену" puts the scene back; edited text is
// compiled with its dropped lines marked, saved with the name line and read
// back; and the mends of the described behaviour.

#include "anim/Ka7AnimScriptList.h"
#include "core/EditorDocument.h"
#include "core/ScriptWorkspace.h"
#include "editor/ui/MainWindowTest.h"
#include "effects/Ka7ParSystem.h"
#include "ui/TAnimPanel.h"
#include "ui/TAnimScriptEditor.h"
#include "ui/TScriptCodeEdit.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

namespace ra7::editor {
namespace {

namespace fs = std::filesystem;

class ScriptPanel : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        startWithEditorData();
        writeScene(dir() / "level.kgf", {{"box", ""}});
        form->LoadSceneFile((dir() / "level.kgf").string());
        panel = &form->AnimPanel();
        editor = &form->ScriptEditor();
        waitFrames(2);
    }

    // "Загрузить из TXT" from the list's popup, the file chosen in the dialog.
    void loadThroughPopup(const fs::path& file)
    {
        dialogs.answers.push_back(file.string());
        find<QAction>(*panel, "ActionLoadScript")->trigger();
    }
    void clickScript(const char* name)
    {
        QListWidget& list = panel->List();
        const auto found = list.findItems(QString::fromUtf8(name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                          list.visualItemRect(found[0]).center());
    }
    void press(const char* button) { find<QPushButton>(*panel, button)->click(); }
    float boxX() { return SceneObjects->FindByName("box")->Trans->Position.x; }
    // Frames until `done` holds (at most ten seconds).
    template <class Done>
    bool waitUntil(Done done)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }
    std::vector<std::string> listed()
    {
        std::vector<std::string> names;
        for (int i = 0; i < panel->List().count(); ++i)
            names.push_back(panel->List().item(i)->text().toStdString());
        return names;
    }
    QString text() { return editor->Code().toPlainText(); }

    TAnimPanel* panel = nullptr;
    TAnimScriptEditor* editor = nullptr;
};

TEST_F(ScriptPanel, AScriptLoadedFromAFileMovesTheObjectPausesStopsAndTheSceneComesBack)
{
    writeTextLines("walk.txt", {"[walk]", "0 move box (100;0;0) t:600"});
    loadThroughPopup(dir() / "walk.txt");
    EXPECT_EQ(listed(), (std::vector<std::string>{"walk"}));
    EXPECT_EQ(panel->List().selectedItems().value(0)->text(), QStringLiteral("walk"));
    EXPECT_EQ(text(), QStringLiteral("[walk]\n0 move box (100;0;0) t:600"));

    press("PlayButton");
    ASSERT_TRUE(waitUntil([&] { return boxX() > 1.0f; })) << "the script moves the box";
    EXPECT_TRUE(form->isWindowModified());
    auto* bar = find<QSlider>(*panel, "AnimBar");
    EXPECT_EQ(bar->maximum(), 600);
    ASSERT_TRUE(waitUntil([&] { return bar->value() >= 2; }));
    EXPECT_EQ(find<QLabel>(*panel, "AnimLab")->text(), QString::number(bar->value()) + QStringLiteral("  "));

    press("PauseButton");
    const float paused = boxX();
    waitFrames(5);
    EXPECT_EQ(boxX(), paused);

    press("StopButton");
    EXPECT_EQ(AnimList->Find("walk")->Position, 0.0f);
    waitFrames(3);
    EXPECT_EQ(boxX(), paused) << "Stop keeps what the script did";
    EXPECT_EQ(bar->value(), 0);

    auto* restore = find<QPushButton>(*panel, "RestoreSceneButton");
    ASSERT_TRUE(restore->isEnabled());
    restore->click();
    EXPECT_EQ(boxX(), 0.0f);
    EXPECT_FALSE(restore->isEnabled());
    EXPECT_EQ(form->Document()->UndoLabel(), "Вернуть сцену");
    action("ActionUndo")->trigger();
    EXPECT_EQ(boxX(), paused);
}

TEST_F(ScriptPanel, EditedTextIsCompiledIntoTheSelectedScriptWithItsDroppedLinesMarked)
{
    dialogs.answers = {std::string("walk")};
    find<QAction>(*panel, "ActionAddScript")->trigger();
    EXPECT_EQ(listed(), (std::vector<std::string>{"walk"}));
    EXPECT_EQ(dialogs.questions.back(), "Введите название скрипта");

    editor->ShowEditor();
    editor->Code().setPlainText(QStringLiteral("0 move box (1;0;0) t:100\n5 Move box (1;0;0) t:3\n"
                                               "7 setvisible box\nx rotate box (0;1;0) t:2"));
    const LineMarks bad = editor->Code().MarksOfLine(1);
    EXPECT_TRUE(bad.dropped);
    EXPECT_TRUE(bad.reasons.join(QString()).contains(QStringLiteral("неизвестная команда «Move»")));
    EXPECT_TRUE(editor->Code().MarksOfLine(3).dropped);
    EXPECT_FALSE(editor->Code().MarksOfLine(0).dropped);
    EXPECT_TRUE(editor->Code().MarksOfLine(0).reasons.isEmpty());
    // The dropped line is underlined where the parser stumbled.
    const QTextBlock line = editor->Code().document()->findBlockByNumber(1);
    bool wavy = false;
    for (const QTextLayout::FormatRange& range : line.layout()->formats())
        wavy = wavy || range.format.underlineStyle() == QTextCharFormat::WaveUnderline;
    EXPECT_TRUE(wavy);

    find<QPushButton>(*editor, "CompileButton")->click();
    auto* commands = find<QListWidget>(*editor, "ComList");
    ASSERT_EQ(commands->count(), 2);
    EXPECT_EQ(commands->item(0)->text(), QStringLiteral("0 move t:100"));
    EXPECT_EQ(commands->item(1)->text(), QStringLiteral("7 setvisible t:0"));
    EXPECT_EQ(find<QLabel>(*editor, "ComCountValue")->text(), QStringLiteral("2"));
    EXPECT_EQ(find<QLabel>(*editor, "NameScript")->text(), QStringLiteral("[walk]"));
    EXPECT_TRUE(find<QLabel>(*editor, "CompileReport")->text().contains(QStringLiteral("пропущено строк 2")));
    EXPECT_TRUE(hasLine("! Скрипт walk, строка 2 пропущена: неизвестная команда «Move»"));
    EXPECT_EQ(form->Document()->UndoLabel(), "Откомпилировать скрипт walk");

    // While it plays the window follows: the stack fills and the clock runs.
    press("PlayButton");
    auto* stack = find<QListWidget>(*editor, "StackList");
    ASSERT_TRUE(waitUntil([&] { return stack->count() == 1; }));
    EXPECT_TRUE(stack->item(0)->text().startsWith(QStringLiteral("0 move t:")));
    stack->item(0)->setSelected(true);
    QTest::mouseClick(commands->viewport(), Qt::LeftButton, Qt::NoModifier,
                      commands->visualItemRect(commands->item(1)).center());
    EXPECT_TRUE(stack->selectedItems().isEmpty()) << "one selected line between the two lists";
    EXPECT_EQ(commands->selectedItems().size(), 1);
}

TEST_F(ScriptPanel, SavingWritesTheNameLineAsksOnceBeforeOverwritingAndReadsBack)
{
    dialogs.answers = {std::string("walk")};
    panel->AddScript();
    editor->Code().setPlainText(QStringLiteral("0 move box (1;0;0) t:10"));
    const fs::path file = dir() / "saved.txt";
    dialogs.answers = {file.string()};
    find<QPushButton>(*editor, "SaveButton")->click();
    EXPECT_EQ(ra7::test::readFile(file), "[walk]\r\n0 move box (1;0;0) t:10\r\n");
    ASSERT_EQ(dialogs.overwriteQuestions.size(), 1u);
    EXPECT_EQ(dialogs.overwriteQuestions[0], OverwriteQuestion::ByCaller)
        << "Qt's dialog must not ask as well";
    EXPECT_FALSE(editor->Code().document()->isModified());

    // Over an existing file the editor asks its own question, once; "No" writes nothing.
    editor->Code().setPlainText(QStringLiteral("0 setvisible box"));
    dialogs.answers = {file.string()};
    dialogs.confirmations = {false};
    editor->Save();
    EXPECT_EQ(dialogs.questions.back(), "Такой файл уже существует. Переписать его?");
    EXPECT_EQ(ra7::test::readFile(file), "[walk]\r\n0 move box (1;0;0) t:10\r\n");

    // Read back: with the script's step undone, the file brings it again under its name.
    action("ActionUndo")->trigger();
    EXPECT_TRUE(listed().empty());
    dialogs.confirmations = {true}; // the window's text was changed: replace it
    loadThroughPopup(file);
    EXPECT_EQ(listed(), (std::vector<std::string>{"walk"}));
    EXPECT_EQ(AnimList->Find("walk")->ComCount(), 1);
    EXPECT_EQ(text(), QStringLiteral("[walk]\n0 move box (1;0;0) t:10"));
}

TEST_F(ScriptPanel, CompilingKeepsTheListedNameAndSaysSo)
{
    dialogs.answers = {std::string("walk")};
    panel->AddScript();
    editor->Code().setPlainText(QStringLiteral("[run]\n0 setvisible box"));
    editor->Compile();
    EXPECT_EQ(listed(), (std::vector<std::string>{"walk"}));
    ASSERT_NE(AnimList->Find("walk"), nullptr);
    EXPECT_EQ(AnimList->Find("walk")->ComCount(), 1);
    EXPECT_TRUE(form->statusBar()->currentMessage().contains(QStringLiteral("остаётся <walk>")));
    clickScript("walk");
    press("PlayButton");
    EXPECT_EQ(AnimList->Find("walk")->Speed, 1.0f) << "the script stays reachable from the list";
}

TEST_F(ScriptPanel, UndoingACompileShowsTheOldCommandsAndTheOldText)
{
    dialogs.answers = {std::string("walk")};
    panel->AddScript();
    editor->ShowEditor();
    editor->Code().setPlainText(QStringLiteral("0 move box (1;0;0) t:10"));
    editor->Compile();
    editor->Code().setPlainText(QStringLiteral("0 rotate box (0;1;0) t:10"));
    editor->Compile();
    auto* commands = find<QListWidget>(*editor, "ComList");
    ASSERT_EQ(commands->count(), 1);
    EXPECT_EQ(commands->item(0)->text(), QStringLiteral("0 rotate t:10"));

    action("ActionUndo")->trigger();
    waitFrames(2);
    EXPECT_EQ(commands->item(0)->text(), QStringLiteral("0 move t:10")) << "same count, other command";
    EXPECT_EQ(text(), QStringLiteral("0 move box (1;0;0) t:10")) << "the unchanged text follows the script";
}

TEST_F(ScriptPanel, DuplicateNamesAreRefusedWithAMessageAndUnnamedFilesTakeTheirStem)
{
    writeTextLines("walk.txt", {"0 move box (1;0;0) t:10"});
    writeTextLines("other.txt", {"[walk]", "0 setvisible box"});
    loadThroughPopup(dir() / "walk.txt");
    loadThroughPopup(dir() / "walk.txt");
    EXPECT_EQ(listed(), (std::vector<std::string>{"walk", "walk_1"}));
    loadThroughPopup(dir() / "other.txt");
    EXPECT_EQ(listed(), (std::vector<std::string>{"walk", "walk_1"}));
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_NE(dialogs.messages.back().find("<walk> уже есть"), std::string::npos);
    EXPECT_EQ(text(), QStringLiteral("0 move box (1;0;0) t:10")) << "the text stays when the load is refused";

    dialogs.answers = {std::string("walk")};
    panel->AddScript();
    EXPECT_NE(dialogs.messages.back().find("<walk> уже есть"), std::string::npos);
    EXPECT_EQ(listed().size(), 2u);
}

TEST_F(ScriptPanel, LoadingOverChangedTextAsksFirst)
{
    writeTextLines("walk.txt", {"0 move box (1;0;0) t:10"});
    editor->Code().setPlainText(QStringLiteral("0 setvisible box"));
    editor->Code().document()->setModified(true);
    dialogs.confirmations = {false};
    loadThroughPopup(dir() / "walk.txt");
    EXPECT_NE(dialogs.questions.back().find("изменён"), std::string::npos);
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(text(), QStringLiteral("0 setvisible box"));
}

TEST_F(ScriptPanel, SavingWithoutASelectedScriptWritesNoNameLine)
{
    editor->Code().setPlainText(QStringLiteral("0 setvisible box"));
    dialogs.answers = {(dir() / "loose.txt").string()};
    editor->Save();
    EXPECT_EQ(ra7::test::readFile(dir() / "loose.txt"), "0 setvisible box\r\n");
}

TEST_F(ScriptPanel, CompilingWithoutASelectedScriptDoesNothingAndSaysSo)
{
    editor->Code().setPlainText(QStringLiteral("0 setvisible box"));
    find<QPushButton>(*editor, "CompileButton")->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("Скрипт не выбран"), std::string::npos);
    EXPECT_FALSE(form->Document()->CanUndo());
}

TEST_F(ScriptPanel, TextOfAnotherScriptIsCompiledOnlyWhenTheUserAgrees)
{
    writeTextLines("walk.txt", {"0 move box (1;0;0) t:10"});
    writeTextLines("run.txt", {"0 setvisible box", "1 setinvisible box"});
    loadThroughPopup(dir() / "walk.txt");
    loadThroughPopup(dir() / "run.txt");
    EXPECT_EQ(editor->TextOwner(), "run");
    // Unchanged text follows the script picked in the list.
    clickScript("walk");
    EXPECT_EQ(text(), QStringLiteral("0 move box (1;0;0) t:10"));
    EXPECT_EQ(editor->TextOwner(), "walk");
    // Changed text stays, and belongs to walk; compiling it into run asks.
    editor->Code().appendPlainText(QStringLiteral("2 setvisible box"));
    clickScript("run");
    EXPECT_TRUE(find<QLabel>(*editor, "TextOrigin")->isVisibleTo(editor));
    dialogs.confirmations = {false};
    editor->Compile();
    EXPECT_NE(dialogs.questions.back().find("Откомпилировать его в скрипт <run>"), std::string::npos);
    EXPECT_EQ(AnimList->Find("run")->ComCount(), 2);
    dialogs.confirmations = {true};
    editor->Compile();
    EXPECT_EQ(AnimList->Find("run")->ComCount(), 2 /* move + setvisible */);
    EXPECT_EQ(AnimList->Find("run")->Commands[0].Command, "move");
    EXPECT_EQ(editor->TextOwner(), "run");
}

TEST_F(ScriptPanel, TheTemplateMenuAppendsItsLineAtTheEndWhereverTheCaretIs)
{
    editor->ShowEditor();
    editor->Code().setPlainText(QStringLiteral("0 setvisible box\n1 setinvisible box"));
    editor->Code().moveCursor(QTextCursor::Start);
    QMenu& menu = editor->Code().TemplateMenu();
    QToolButton* move = nullptr;
    int items = 0;
    for (QToolButton* button : menu.findChildren<QToolButton*>()) {
        ++items;
        if (button->text() == QStringLiteral("0 move obj (0;0;0) t:10"))
            move = button;
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->text().toStdString();
        EXPECT_NE(button->text(), QStringLiteral("0 call Name"));
    }
    EXPECT_EQ(items, 20);
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->toolTip(), QStringLiteral("передвинуть obj на (x;y;z) за t"));
    move->click();
    EXPECT_EQ(text(), QStringLiteral("0 setvisible box\n1 setinvisible box\n0 move obj (0;0;0) t:10"));
}

TEST_F(ScriptPanel, TheHiddenWindowIsNotRefreshedAndTheShownOneChangesOnlyRunningRows)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i)
        lines.push_back(std::to_string(i) + " move box (0.01;0;0) t:2");
    writeTextLines("long.txt", lines);
    loadThroughPopup(dir() / "long.txt");
    press("PlayButton");
    waitFrames(5);
    auto* commands = find<QListWidget>(*editor, "ComList");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(commands->count(), 0) << "nothing is rebuilt for a hidden window";

    editor->ShowEditor();
    EXPECT_EQ(commands->count(), 3000);
    int rowsChanged = 0;
    int passes = 0;
    QObject::connect(
        commands->model(), &QAbstractItemModel::dataChanged,
        [&](const QModelIndex& from, const QModelIndex& to) { rowsChanged += to.row() - from.row() + 1; });
    QObject::connect(form.get(), &TMainForm::frameDrawn, [&] { ++passes; });
    waitFrames(20);
    EXPECT_GT(rowsChanged, 0);
    EXPECT_LT(rowsChanged, passes * 10) << "a few rows a pass, not the whole list";
}

// "parsetcount" replaces the selected particle system by a new object in its
// slot while the views show it; nothing may hold on to the old one.
TEST_F(ScriptPanel, AScriptRebuildingTheSelectedParticleSystemLeavesItSelected)
{
    auto sparks = std::make_unique<KaParSystem>(8);
    sparks->SetName("sparks");
    SceneObjects->Add(std::move(sparks));
    SceneObjects->MarkChanged();
    waitFrames(2);
    ASSERT_TRUE(form->SelectObject("sparks"));
    writeTextLines("burst.txt", {"0 parsetcount sparks (50;0;0)", "1 parsetcount sparks (20;0;0)"});
    loadThroughPopup(dir() / "burst.txt");
    press("PlayButton");
    ASSERT_TRUE(waitUntil(
        [] { return dynamic_cast<KaParSystem&>(*SceneObjects->FindByName("sparks")).Count() == 20; }));
    waitFrames(3);
    EXPECT_EQ(form->Document()->Selection().SelectedName(), "sparks");
    find<QPushButton>(*panel, "RestoreSceneButton")->click();
    waitFrames(3);
    EXPECT_EQ(dynamic_cast<KaParSystem&>(*SceneObjects->FindByName("sparks")).Count(), 8);
    EXPECT_EQ(form->Document()->Selection().SelectedName(), "sparks");
}

TEST_F(ScriptPanel, ADoubleClickOnAScriptShowsTheEditorWindow)
{
    dialogs.answers = {std::string("walk")};
    panel->AddScript();
    EXPECT_FALSE(editor->isVisible());
    QListWidget& list = panel->List();
    const QPoint at = list.visualItemRect(list.item(0)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Редактор анимационных скриптов"));
}

} // namespace
} // namespace ra7::editor
