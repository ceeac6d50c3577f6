// Splitting text that arrives in blocks into numbered lines.
#include "TextLines.h"

#include "runtime/Errors.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace ra7 {
namespace {

using Lines = std::vector<std::pair<std::string, std::uint64_t>>;

// Feeds `text` in blocks of `blockSize` bytes.
Lines split(std::string_view text, std::size_t blockSize)
{
    Lines lines;
    TextLineSplitter splitter("t.obj");
    auto onLine = [&](std::string_view line, std::uint64_t number) { lines.emplace_back(line, number); };
    for (std::size_t at = 0; at < text.size(); at += blockSize)
        splitter.feed(text.substr(at, blockSize), onLine);
    splitter.finish(onLine);
    return lines;
}

TEST(TextLinesTest, EveryBlockSizeGivesTheSameLines)
{
    const std::string text = "a\r\nbb\n\nccc\rdd\r\n\r\ne";
    const Lines expected = {{"a", 1}, {"bb", 2}, {"", 3}, {"ccc", 4}, {"dd", 5}, {"", 6}, {"e", 7}};
    for (std::size_t block = 1; block <= text.size(); ++block)
        EXPECT_EQ(split(text, block), expected) << "block " << block;
}

TEST(TextLinesTest, NoTextNoLinesAndAFinalLineEndAddsNoLine)
{
    EXPECT_TRUE(split("", 4).empty());
    EXPECT_EQ(split("x\n", 4), (Lines{{"x", 1}}));
    EXPECT_EQ(split("\n", 4), (Lines{{"", 1}}));
}

TEST(TextLinesTest, RefusesALineLongerThanTheLimit)
{
    TextLineSplitter splitter("big.obj", 10);
    auto ignore = [](std::string_view, std::uint64_t) {};
    splitter.feed("ok\nfine\n0123456", ignore);
    try {
        splitter.feed("789abc", ignore);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "big.obj: line 3: line is longer than 10 bytes");
    }
}

} // namespace
} // namespace ra7
