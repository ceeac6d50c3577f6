#include "core/ConsoleLineStyle.h"
#include "core/FrameClock.h"
#include "core/ScenePaths.h"

#include "engine/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace ra7::editor {
namespace {

TEST(ConsoleLineStyle, MarkersChooseTheColourAndTheFirstTwoColumnsAreHidden)
{
    EXPECT_EQ(StyleConsoleLine("! error").text, "error");
    EXPECT_EQ(StyleConsoleLine("! error").colour, ConsoleColour::Error);
    EXPECT_EQ(StyleConsoleLine("> ok").text, "ok");
    EXPECT_EQ(StyleConsoleLine("> ok").colour, ConsoleColour::Command);
    EXPECT_EQ(StyleConsoleLine("* step").colour, ConsoleColour::Step);
    EXPECT_EQ(StyleConsoleLine("  Версия GL: 4.5").text, "Версия GL: 4.5");
    EXPECT_EQ(StyleConsoleLine("  Версия GL: 4.5").colour, ConsoleColour::Normal);
    EXPECT_EQ(StyleConsoleLine("  ! indented").colour, ConsoleColour::Error); // colour from the trimmed line
    EXPECT_EQ(StyleConsoleLine("x").text, "");
}

TEST(FrameClock, TheFigureIsTheMeanRateOfEachBlockOf25Frames)
{
    using namespace std::chrono;
    const FrameClock::Clock::time_point start{};
    FrameClock clock(start);
    auto now = start;
    for (int frame = 1; frame <= 24; ++frame) {
        now += frame % 2 ? milliseconds(10) : milliseconds(20); // 100 and 50 frames a second
        clock.Tick(now);
        EXPECT_EQ(clock.FpsText(), "") << frame;
    }
    now += milliseconds(10);
    clock.Tick(now);
    EXPECT_FLOAT_EQ(clock.FrameTime(), 10.0f);
    EXPECT_EQ(clock.FpsText(), "76"); // (13 × 100 + 12 × 50) / 25
    for (int frame = 0; frame < 25; ++frame) {
        now += milliseconds(40);
        clock.Tick(now);
    }
    EXPECT_EQ(clock.FpsText(), "25");
}

TEST(FrameClock, AZeroLengthFrameDoesNotPoisonTheFigure)
{
    const FrameClock::Clock::time_point start{};
    FrameClock clock(start);
    for (int frame = 0; frame < 25; ++frame)
        clock.Tick(start);
    // Each such frame counts as one microsecond: a large finite figure, not "inf".
    EXPECT_GE(std::stoll(clock.FpsText()), 999000);
}

using SceneSaveNames = test::ScratchDirectoryTest;

TEST_F(SceneSaveNames, RelativeLowerCaseWithOneExtension)
{
    EXPECT_EQ(SceneSaveName(dir() / "level"), "level.kgf");
    EXPECT_EQ(SceneSaveName(dir() / "Levels" / "Level.KGF"), "levels/level.kgf");
    EXPECT_EQ(SceneSaveName(dir() / "level.kgf"), "level.kgf");
    EXPECT_EQ(SceneSaveName(dir() / "level.kgf.bak"), "level.kgf.bak.kgf");
    EXPECT_EQ(SceneSaveName("/elsewhere/Сцена"), "/elsewhere/сцена.kgf");
}

} // namespace
} // namespace ra7::editor
