// The rules every page shares: names, typed numbers, scaled bars, colour
// previews and chosen file names.

#include "core/PageRules.h"

#include "engine/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

namespace ra7::editor {
namespace {

TEST(PageRules, NamesMustFitTheFilesAndTheCodePage)
{
    EXPECT_FALSE(NameProblem("  crate  "));
    EXPECT_EQ(TrimmedName("  crate  "), "crate");
    EXPECT_TRUE(NameProblem(""));
    EXPECT_TRUE(NameProblem("   "));
    EXPECT_TRUE(NameProblem("ящик 📦")) << "an emoji would be stored as \"?\"";
    EXPECT_TRUE(NameProblem("北京"));
    // 255 Cyrillic letters are 255 code-page bytes (510 bytes of UTF-8): they fit.
    std::string longest;
    for (int i = 0; i < 255; ++i)
        longest += "ж";
    EXPECT_FALSE(NameProblem(longest));
    EXPECT_TRUE(NameProblem(longest + "ж"));
}

TEST(PageRules, TypedNumbersTakeEitherSeparatorAndRefuseWhatIsNotAFiniteSingle)
{
    EXPECT_EQ(ParseTypedNumber("1.5"), 1.5f);
    EXPECT_EQ(ParseTypedNumber(" 1,5 "), 1.5f);
    EXPECT_EQ(ParseTypedNumber("-2e3"), -2000.0f);
    for (const char* bad : {"", "abc", "1.5x", "nan", "inf", "-inf", "1e39", "-1e39", "1e400"})
        EXPECT_FALSE(ParseTypedNumber(bad)) << bad;
    EXPECT_FALSE(ParseTypedNumber("0", {0.001f, 10}));
    EXPECT_EQ(ParseTypedNumber("10", {0.001f, 10}), 10.0f);
    EXPECT_EQ(FormatBoxNumber(1.5f), "1.500");
    EXPECT_EQ(FormatBoxNumber(-0.0004f), "-0.000");
}

TEST(PageRules, ABarRoundsForDisplayAndOnlyPinsValuesOutsideItsRange)
{
    const ScaledBar colour{100, 0, 100};
    EXPECT_EQ(colour.Position(0.7f), 70); // 0.7f × 100 is 69.99999… as a double
    EXPECT_EQ(colour.Position(0.29f), 29);
    EXPECT_EQ(colour.Position(1.5f), 100);
    EXPECT_EQ(colour.Position(-0.2f), 0);
    EXPECT_EQ(colour.Position(std::nanf("")), 0);
    EXPECT_FLOAT_EQ(colour.Value(70), 0.7f);
    EXPECT_EQ(colour.Text(0.7f), "0.7");
    EXPECT_EQ(colour.Text(2.0f), "2");
    EXPECT_EQ(colour.Text(-0.0001f), "0");
    const ScaledBar range{1, 0, 1000};
    EXPECT_EQ(range.Position(2000.0f), 1000);
}

TEST(PageRules, PreviewBytesAreHeldToTheByteRange)
{
    EXPECT_EQ(PreviewByte(1.0f), 128); // Round(127.5) away from zero
    EXPECT_EQ(PreviewByte(2.0f), 255);
    EXPECT_EQ(PreviewByte(7.0f), 255);
    EXPECT_EQ(PreviewByte(-0.5f), 0); // scripts can make colours negative
    EXPECT_EQ(PreviewByte(std::nanf("")), 0);
}

using ChosenFiles = test::ScratchDirectoryTest;

TEST_F(ChosenFiles, ChosenFilesAreStoredRelativeWithBackslashesNeverByCuttingCharacters)
{
    std::filesystem::create_directories(dir() / "Textures");
    test::writeFile(dir() / "Textures" / "Wall.PNG", "x");
    EXPECT_EQ(StoredFileName((dir() / "Textures" / "Wall.PNG").string()), "Textures\\Wall.PNG");
    EXPECT_EQ(StoredFileName((dir() / "Textures" / "Wall.PNG").string(), {true, {}}), "textures\\wall.png");
    // Outside the project the path stays whole instead of losing its first characters.
    EXPECT_EQ(StoredFileName("/usr/share/sounds/Bell.oga"), "\\usr\\share\\sounds\\Bell.oga");
    EXPECT_EQ(StoredFileName((dir() / "level").string(), {true, ".kgf"}), "level.kgf");
    EXPECT_EQ(StoredFileName((dir() / "Level.KGF").string(), {false, ".kgf"}), "Level.KGF");
    EXPECT_TRUE(StoredFileExists("textures\\wall.png")); // found whatever the letter case
    EXPECT_FALSE(StoredFileExists("textures\\roof.png"));
    EXPECT_FALSE(StoredFileExists("textures"));
    EXPECT_EQ(FileAddedLine("a.png"), "Файл <a.png> добавлен");
    EXPECT_EQ(FileMissingLine("a.png"), "Файл <a.png> не найден");
}

} // namespace
} // namespace ra7::editor
