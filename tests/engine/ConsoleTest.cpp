#include "runtime/Ka7Console.h"

#include "engine/TestSupport.h"
#include "host/Ka7ConsoleCommands.h"
#include "runtime/Ka7Log.h"

#include <gmock/gmock.h>

namespace ra7 {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Console = test::ConsoleTest;

TEST(ConsoleLineSplitting, WordAndBracketedArguments)
{
    const ConsoleLine mesh = SplitConsoleLine("addmesh <data\\box.mes>");
    EXPECT_EQ(mesh.word, "addmesh");
    EXPECT_THAT(mesh.arguments, ElementsAre("data\\box.mes", "", ""));

    EXPECT_THAT(SplitConsoleLine("addtex <my texture.png>").arguments, ElementsAre("my texture.png", "", ""));
    EXPECT_THAT(SplitConsoleLine("addmesh data\\box.mes").arguments, ElementsAre("data\\box.mes", "", ""));
    EXPECT_THAT(SplitConsoleLine("cmd <a> <b c> <d> <e>").arguments, ElementsAre("a", "b c", "d"));
    EXPECT_THAT(SplitConsoleLine("cmd a b c").arguments, ElementsAre("a b c", "", ""));
    EXPECT_THAT(SplitConsoleLine("cmd x> <y").arguments, ElementsAre("y", "", "")); // "<" first, then ">"
    EXPECT_THAT(SplitConsoleLine("cmd <<a>>").arguments, ElementsAre("<a", "", ""));

    const ConsoleLine bare = SplitConsoleLine("help");
    EXPECT_EQ(bare.word, "help");
    EXPECT_THAT(bare.arguments, ElementsAre("", "", ""));
}

TEST_F(Console, HelpListsTheSevenCommandsInTableOrderAndIgnoresCase)
{
    ExecuteCommand("HELP");
    EXPECT_THAT(LogLines(), ElementsAre("> HELP", "1 help", "2 exit", "3 addmesh", "4 addmat", "5 addtex",
                                        "6 glinfo", "7 alinfo"));
}

TEST_F(Console, UnknownWordsAreReportedAsTyped)
{
    ExecuteCommand("  Foo bar\t");
    EXPECT_THAT(LogLines(), ElementsAre("> Foo bar", "! Foo не является командой консоли"));
}

TEST_F(Console, BlankLinesDoNothing)
{
    ExecuteCommand("   \t  ");
    ExecuteCommand("");
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(Console, FindCommandTakesWholeNamesOnly)
{
    ASSERT_NE(FindCommand("GLInfo"), nullptr);
    EXPECT_EQ(FindCommand("GLInfo")->Name, "glinfo");
    EXPECT_EQ(FindCommand("gl"), nullptr);
    EXPECT_EQ(FindCommand("glinfo "), nullptr);
    EXPECT_EQ(FindCommand(""), nullptr);
}

TEST_F(Console, CommandsAreGoneAfterDoneConsole)
{
    DoneConsole();
    EXPECT_EQ(FindCommand("help"), nullptr);
    InitConsole();
    EXPECT_NE(FindCommand("help"), nullptr);
}

TEST_F(Console, ExitRunsTheInstalledHandler)
{
    int calls = 0;
    SetConsoleExitHandler([&] { ++calls; });
    ExecuteCommand("exit now");
    SetConsoleExitHandler(nullptr);
    EXPECT_EQ(calls, 1);
}

TEST_F(Console, ExitEndsTheProcessWithCodeZeroByDefault)
{
    EXPECT_EXIT(ExecuteCommand("exit"), ::testing::ExitedWithCode(0), "");
}

TEST_F(Console, AnyBytesOfAnyLengthAreSafe)
{
    std::string line(100000, 'x');
    line[5] = ' ';
    line[700] = '<';
    line += std::string("\0\xFF\xC3<<>>", 7);
    ExecuteCommand(line);
    EXPECT_EQ(LogLines().size(), 2u);
}

TEST_F(Console, ExtensionListLogsEveryNameThatABlankEnds)
{
    LogExtensionList("GL_ARB_a GL_ARB_b GL_tail");
    EXPECT_THAT(LogLines(), ElementsAre("  GL_ARB_a", "  GL_ARB_b", "* ----- Конец списка расширений -----",
                                        "  Всего расширений : 2"));
}

TEST_F(Console, TheGraphicsDriversDescriptionIsLoggedInOrder)
{
    LogGraphicsDriverInfo({"4.5 Mesa", "1.3", "Mesa", "llvmpipe", "GL_A "});
    const std::vector<std::string> expected = {
        "  Версия GL: 4.5 Mesa",
        "  Версия GLU: 1.3",
        "  Изготовитель видео карты: Mesa",
        "  Видео карта: llvmpipe",
        "* Расширения OpenGL:",
        "  GL_A",
        "* ----- Конец списка расширений -----",
        "  Всего расширений : 1",
    };
    EXPECT_THAT(LogLines(), ElementsAreArray(expected));
}

} // namespace
} // namespace ra7
