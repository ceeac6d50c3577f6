#include "runtime/Ka7Log.h"

#include "engine/TestSupport.h"
#include "host/Ka7ConsoleCommands.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace ra7 {
namespace {

using ::testing::ElementsAre;
using Log = test::ConsoleTest;

TEST_F(Log, MarkersStandFlushLeftAndOtherLinesAreIndented)
{
    LogLine("* Консоль создана...");
    LogLine("Версия GL: 4.5");
    LogLine("  \t! trimmed error \r\n");
    LogLine("- detail");
    LogLine("1 help");
    LogLine("ab");
    EXPECT_THAT(LogLines(), ElementsAre("* Консоль создана...", "  Версия GL: 4.5", "! trimmed error",
                                        "- detail", "1 help", "  ab"));
}

TEST_F(Log, TheFileHoldsCodePageLinesWithCrLfAfterEveryLine)
{
    LogLine("* Старт");
    EXPECT_EQ(test::readFile("log.txt"), "* \xD1\xF2\xE0\xF0\xF2\r\n");
    LogLine("two");
    LogLine("! three");
    EXPECT_EQ(test::readFile("log.txt"), "* \xD1\xF2\xE0\xF0\xF2\r\n  two\r\n! three\r\n");
    EXPECT_EQ(LogText(), "* Старт\r\n  two\r\n! three\r\n");
}

TEST_F(Log, ALogFromAnEarlierRunIsReplacedByTheFirstLine)
{
    DoneConsole();
    test::writeFile("log.txt", "old run\r\nold run\r\n");
    InitConsole();
    LogLine("* new");
    EXPECT_EQ(test::readFile("log.txt"), "* new\r\n");
}

TEST_F(Log, AFailedWriteIsSwallowedAndTheNextLineRewritesTheWholeFile)
{
    // Every write to /dev/full fails with "no space left on device".
    std::filesystem::create_symlink("/dev/full", "log.txt");
    LogLine("lost on disk");
    LogLine("lost again");
    EXPECT_EQ(LogLines().size(), 2u);
    std::filesystem::remove("log.txt");
    LogLine("back");
    EXPECT_EQ(test::readFile("log.txt"), "  lost on disk\r\n  lost again\r\n  back\r\n");
    LogLine("appended");
    EXPECT_EQ(test::readFile("log.txt"), "  lost on disk\r\n  lost again\r\n  back\r\n  appended\r\n");
}

TEST_F(Log, TheChangedFlagIsReadAndCleared)
{
    EXPECT_FALSE(LogChanged());
    LogLine("x line");
    EXPECT_TRUE(LogChanged());
    EXPECT_FALSE(LogChanged());
}

} // namespace
} // namespace ra7
