#include "runtime/FileIO.h"

#include "engine/TestSupport.h"
#include "runtime/Errors.h"

#include <gmock/gmock.h>

namespace ra7 {
namespace {

using ::testing::ElementsAre;
using FileIO = test::ScratchDirectoryTest;

TEST_F(FileIO, TextLinesSplitOnEveryKindOfLineEnd)
{
    EXPECT_THAT(splitTextLines("a\r\nb\nc\rd"), ElementsAre("a", "b", "c", "d"));
    EXPECT_THAT(splitTextLines("a\r\n\r\n"), ElementsAre("a", ""));
    EXPECT_THAT(splitTextLines(""), ElementsAre());
    EXPECT_THAT(splitTextLines("\xCF\xF0\xE8\r\n"), ElementsAre("При"));
}

TEST_F(FileIO, WrittenTextIsCodePageWithCrLf)
{
    writeTextLines("Notes.TXT", {"Привет", "x"});
    EXPECT_EQ(test::readFile("Notes.TXT"), "\xCF\xF0\xE8\xE2\xE5\xF2\r\nx\r\n");
    EXPECT_THAT(readTextLines("notes.txt"), ElementsAre("Привет", "x"));
}

TEST_F(FileIO, ReadingAMissingFileNamesIt)
{
    try {
        readFileBytes("gone.txt");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), "gone.txt");
        EXPECT_THAT(e.what(), ::testing::StartsWith("gone.txt: cannot open file: "));
    }
}

TEST_F(FileIO, AFailedRenameKeepsTheTargetAndLeavesNoTemporaryFile)
{
    // A folder in the target's place cannot be replaced by a file.
    std::filesystem::create_directory("target.kmt");
    test::writeFile("target.kmt/inside", "x");
    AtomicFileWriter writer("target.kmt", "target.kmt");
    writer.write("new");
    EXPECT_THROW(writer.commit(), FileError);
    EXPECT_EQ(test::readFile("target.kmt/inside"), "x");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace ra7
