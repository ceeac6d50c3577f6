#include "runtime/Ka7GlobalEngine.h"

#include "engine/TestSupport.h"
#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7Log.h"
#include "runtime/TextCodec.h"

#include <gmock/gmock.h>

namespace ra7 {
namespace {

using Config = test::ConsoleTest;

std::vector<std::string> defaultLines()
{
    return ConfigLines(EngineSettings{});
}

// `lines` with line `number` (from 1) replaced.
std::vector<std::string> withLine(std::vector<std::string> lines, std::size_t number, std::string text)
{
    lines.at(number - 1) = std::move(text);
    return lines;
}

EngineSettings read(const std::vector<std::string>& lines)
{
    EngineSettings settings;
    ApplyConfigLines(lines, "config.txt", settings);
    return settings;
}

TEST_F(Config, MissingFileIsLoggedAndWrittenWithDefaultsWithoutBloom)
{
    LoadConfig("config.txt");
    EXPECT_EQ(LogLines().back(), "! Не найден файл конфигурации config.txt");
    const std::string bytes = test::readFile("config.txt");
    const auto lines = splitTextLines(bytes);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines.front(), "SCREEN COLOR: 0");
    EXPECT_EQ(lines[15], "MOTION BLUR MULT LEVEL: 0.899999976158142");
    EXPECT_EQ(lines[16], "MOTION BLUR ACCUM LEVEL: 0.100000001490116");
    EXPECT_EQ(lines.back(), "USE 2D: True");
    EXPECT_NE(bytes.find("VSYNC: True\r\n"), std::string::npos);
    EXPECT_FALSE(Settings.UseBloom);
    EXPECT_EQ(Settings.BloomTextureSize, 256u);
}

TEST_F(Config, AWrittenFileReadsBackToTheSameValues)
{
    Settings.ScreenColor = 32;
    Settings.ScreenWidth = -1;
    Settings.VSync = false;
    Settings.AnisotropyLevel = 8;
    Settings.BloomTextureSize = 4000000000u;
    Settings.MotionBlurMultLevel = 0.3f;
    Settings.MotionBlurAccumLevel = -1e-7f;
    Settings.UseFBO = true;
    SaveConfig("config.txt");
    const EngineSettings saved = Settings;
    ResetSettings();
    LoadConfig("config.txt");
    EXPECT_EQ(Settings.ScreenColor, 32);
    EXPECT_EQ(Settings.ScreenWidth, -1);
    EXPECT_FALSE(Settings.VSync);
    EXPECT_EQ(Settings.AnisotropyLevel, 8);
    EXPECT_EQ(Settings.BloomTextureSize, 4000000000u);
    EXPECT_EQ(Settings.MotionBlurMultLevel, saved.MotionBlurMultLevel);
    EXPECT_EQ(Settings.MotionBlurAccumLevel, saved.MotionBlurAccumLevel);
    EXPECT_TRUE(Settings.UseFBO);
    EXPECT_TRUE(Settings.UseAnisotropy);
    EXPECT_TRUE(Settings.UseBloom);
}

TEST_F(Config, LinesAreReadByPositionNotByKey)
{
    auto lines = defaultLines();
    lines[0] = "WHATEVER: 16";
    lines[5] = "SCREEN HEIGHT: 640"; // the width's line, whatever its key says
    const EngineSettings s = read(lines);
    EXPECT_EQ(s.ScreenColor, 16);
    EXPECT_EQ(s.ScreenWidth, 640);
    EXPECT_EQ(s.ScreenHeight, 0);
}

TEST_F(Config, BooleansAreTrueOnlyForTrueWithAnyFirstLetterCase)
{
    EXPECT_TRUE(read(withLine(defaultLines(), 8, "VSYNC: true")).VSync);
    EXPECT_FALSE(read(withLine(defaultLines(), 8, "VSYNC: TRUE")).VSync);
    EXPECT_FALSE(read(withLine(defaultLines(), 8, "VSYNC: 1")).VSync);
    EXPECT_FALSE(read(withLine(defaultLines(), 8, "VSYNC: yes")).VSync);
    EXPECT_TRUE(read(withLine(defaultLines(), 13, "  USE LOD: True \t")).UseLod);
}

TEST_F(Config, DerivedFlagsFollowTheirLines)
{
    EXPECT_FALSE(read(withLine(defaultLines(), 9, "ANISOTROPY LEVEL: 1")).UseAnisotropy);
    EXPECT_TRUE(read(withLine(defaultLines(), 9, "ANISOTROPY LEVEL: 2")).UseAnisotropy);
    EXPECT_FALSE(read(withLine(defaultLines(), 11, "BLOOM TEXTURE SIZE: 0")).UseBloom);
    EXPECT_TRUE(read(defaultLines()).UseBloom);
}

TEST_F(Config, TextThatDoesNotConvertKeepsThePreviousValue)
{
    EngineSettings s;
    s.ScreenWidth = 1024;
    ApplyConfigLines(withLine(defaultLines(), 6, "SCREEN WIDTH: wide"), "config.txt", s);
    EXPECT_EQ(s.ScreenWidth, 1024);
    // Without ": " only the first character goes, which leaves "CREEN COLOR 32".
    EXPECT_EQ(read(withLine(defaultLines(), 1, "SCREEN COLOR 32")).ScreenColor, 0);
    EXPECT_EQ(read(withLine(defaultLines(), 1, "x32")).ScreenColor, 32);
    EXPECT_EQ(read(withLine(defaultLines(), 2, "SCREEN REFRESH: 99999999999")).ScreenRefresh, 85);
    EXPECT_EQ(read(withLine(defaultLines(), 16, "M: abc")).MotionBlurMultLevel, 0.9f);
    EXPECT_EQ(read(withLine(defaultLines(), 16, "M: 0,5")).MotionBlurMultLevel, 0.5f);
    EXPECT_EQ(read(withLine(defaultLines(), 17, "M: 0.25")).MotionBlurAccumLevel, 0.25f);
}

TEST_F(Config, NegativeBloomSizeIsARangeErrorNamingTheLine)
{
    try {
        read(withLine(defaultLines(), 11, "BLOOM TEXTURE SIZE: -5"));
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "config.txt: line 11: BLOOM TEXTURE SIZE must not be negative (-5)");
    }
}

TEST_F(Config, AnEmptyBooleanLineIsARangeError)
{
    EXPECT_THROW(read(withLine(defaultLines(), 13, "")), FileError);
    // Trimming comes first, so "VSYNC: " keeps no ": " and reads as "SYNC:", false.
    EXPECT_FALSE(read(withLine(defaultLines(), 8, "VSYNC: ")).VSync);
    // A file that ends before its first boolean line.
    const auto all = defaultLines();
    const std::vector<std::string> seven(all.begin(), all.begin() + 7);
    try {
        read(seven);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "config.txt: line 8: VSYNC has no value (True or False expected)");
    }
}

TEST_F(Config, MissingNumberLinesKeepDefaultsAndExtraLinesAreIgnored)
{
    auto lines = defaultLines();
    lines[20] = "USE 2D: False";
    lines.push_back("EXTRA: 1");
    lines.push_back("garbage \xFF");
    EXPECT_FALSE(read(lines).Use2D);
}

TEST_F(Config, GarbageFromDiskStopsWithAMessageNotACrash)
{
    test::writeFile("config.txt", std::string("\0\xFF\x01\n\n:\n: \n", 9));
    EXPECT_THROW(LoadConfig("config.txt"), Error);
    // Settings are not half-changed by a failed read.
    EXPECT_EQ(Settings.ScreenColor, 0);
    EXPECT_FALSE(Settings.UseBloom);
}

TEST_F(Config, WindowsLineEndsAndCodePageBytesRead)
{
    std::string file;
    for (const std::string& line : withLine(defaultLines(), 1, "ЦВЕТ: 24"))
        file += line + "\r\n";
    test::writeFile("config.txt", utf8ToCp1251(file));
    LoadConfig("config.txt");
    EXPECT_EQ(Settings.ScreenColor, 24);
}

} // namespace
} // namespace ra7
