#include "ui/TConsoleForm.h"

#include "editor/ui/ScriptedDialogs.h"
#include "engine/TestSupport.h"
#include "runtime/Ka7Log.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace ra7::editor {
namespace {

class ConsoleWindow : public ra7::test::ConsoleTest {
protected:
    test::ScriptedDialogs dialogs;
};

QListWidget* linesOf(TConsoleForm& form)
{
    return form.findChild<QListWidget*>(QStringLiteral("ConsoleLines"));
}

TEST_F(ConsoleWindow, LinesAreColouredByMarkerWithoutTheirFirstColumns)
{
    TConsoleForm form(dialogs);
    LogLine("! error");
    LogLine("> ok");
    LogLine("plain");
    form.ShowConsole();
    QListWidget* lines = linesOf(form);
    ASSERT_NE(lines, nullptr);
    ASSERT_EQ(lines->count(), 3);
    EXPECT_EQ(lines->item(0)->text(), QStringLiteral("error"));
    EXPECT_EQ(lines->item(0)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(lines->item(1)->text(), QStringLiteral("ok"));
    EXPECT_EQ(lines->item(1)->foreground().color(), QColor(0, 255, 0));
    EXPECT_EQ(lines->item(2)->text(), QStringLiteral("plain"));
    EXPECT_TRUE(lines->selectedItems().isEmpty());
}

TEST_F(ConsoleWindow, EnterRunsTheCommandAndEmptiesTheBox)
{
    TConsoleForm form(dialogs);
    form.ShowConsole();
    auto* command = form.findChild<QLineEdit*>(QStringLiteral("ConsoleCommand"));
    ASSERT_NE(command, nullptr);
    QTest::keyClicks(command, QStringLiteral("help"));
    QTest::keyClick(command, Qt::Key_Return);
    EXPECT_TRUE(command->text().isEmpty());
    QListWidget* lines = linesOf(form);
    ASSERT_EQ(lines->count(), 8);
    EXPECT_EQ(lines->item(0)->text(), QStringLiteral("help"));
    EXPECT_EQ(lines->item(7)->text(), QStringLiteral("alinfo"));
}

TEST_F(ConsoleWindow, TheTimerPicksUpNewLines)
{
    TConsoleForm form(dialogs);
    form.ShowConsole();
    LogLine("* later");
    EXPECT_EQ(linesOf(form)->count(), 0) << "nothing before the timer fires";
    EXPECT_TRUE(QTest::qWaitFor([&] { return linesOf(form)->count() == 1; }, 2000));
    ASSERT_EQ(linesOf(form)->count(), 1);
    EXPECT_EQ(linesOf(form)->item(0)->text(), QStringLiteral("later"));
}

} // namespace
} // namespace ra7::editor
