// What the panel and the editor window show of a script: the slider within
// its range whatever the text says, the list lines, the rows that change
// while a script plays, the template lines, and script files on disk.

#include "core/ScriptView.h"

#include "anim/AnimLineCheck.h"
#include "anim/Ka7AnimScript.h"
#include "anim/Ka7AnimScriptList.h"
#include "core/ScriptFiles.h"
#include "core/ScriptTemplates.h"
#include "engine/TestSupport.h"
#include "runtime/FileIO.h"

#include <gmock/gmock.h>

#include <limits>

namespace ra7::editor {
namespace {

using ::testing::ElementsAre;

KaAnimScript scriptOf(const std::vector<std::string>& lines)
{
    KaAnimScript script;
    script.LoadFromStrings(lines);
    return script;
}

// --- the slider ------------------------------------------------------------------------

TEST(AnimBar, TheMaximumIsWorkedOutIn64BitsAndHeldToTheSlidersRange)
{
    const std::int32_t most = std::numeric_limits<std::int32_t>::max();
    const AnimBarState shown;
    const std::string top = std::to_string(most);
    EXPECT_EQ(AnimBarFor(scriptOf({top + " move box (1;0;0) t:" + top}), shown).maximum, most);
    EXPECT_EQ(AnimBarFor(scriptOf({"-5 move box (1;0;0) t:2"}), shown).maximum, 0);
    EXPECT_EQ(AnimBarFor(scriptOf({"-2147483648 move box (1;0;0) t:-2147483648"}), shown).maximum, 0);
    EXPECT_EQ(AnimBarFor(scriptOf({"0 setvisible a", "0 setinvisible b"}), shown).maximum, 0);
    // The last command in sorted order, not the one that ends last.
    EXPECT_EQ(AnimBarFor(scriptOf({"0 move box (1;0;0) t:100", "7 move box (1;0;0) t:3"}), shown).maximum,
              10);
    // Without commands the bar keeps its maximum.
    AnimBarState wide;
    wide.maximum = 40;
    EXPECT_EQ(AnimBarFor(KaAnimScript(), wide).maximum, 40);
}

TEST(AnimBar, ThePositionIsTheRoundedClockHeldToTheBar)
{
    KaAnimScript script = scriptOf({"0 move box (1;0;0) t:50"});
    const AnimBarState shown;
    for (const auto& [clock, position] : std::vector<std::pair<float, std::int32_t>>{
             {-1.0f, 0}, {2.5f, 2}, {3.5f, 4}, {3.49f, 3}, {49.7f, 50}, {80.0f, 50}, {1e30f, 50}}) {
        script.Position = clock;
        const AnimBarState bar = AnimBarFor(script, shown);
        EXPECT_EQ(bar.position, position) << clock;
        EXPECT_EQ(bar.label, std::to_string(position) + "  ") << clock;
    }
}

// --- the lists -------------------------------------------------------------------------

TEST(ScriptLines, ALineIsTimeCommandAndTheDurationStillToRun)
{
    KaAnimScript script = scriptOf({"0 move box (1;0;0) t:10", "3 setvisible box"});
    EXPECT_EQ(CommandLine(script.Commands[0]), "0 move t:10");
    EXPECT_EQ(CommandLine(script.Commands[1]), "3 setvisible t:0");
    script.Commands[0].TimeLeft = 2.5f;
    EXPECT_EQ(CommandLine(script.Commands[0]), "0 move t:2.5");
    const ScriptLabels labels = LabelsOf(script);
    EXPECT_EQ(labels.title, "[]");
    EXPECT_EQ(labels.comCount, "2");
    EXPECT_EQ(labels.position, "-1");
}

// A long script whose commands start one after another: while it plays only
// the rows of the running commands change, and nothing changes twice.
TEST(ScriptWatch, APlayingScriptChangesOnlyTheRowsOfItsRunningCommands)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 2000; ++i)
        lines.push_back(std::to_string(i) + " scale nothing (1;1;1) t:3");
    KaAnimScript script = scriptOf(lines);
    script.Name = "long";
    script.Reset();
    ScriptWatch watch;
    ScriptWatch::Changes first = watch.Refresh(&script);
    EXPECT_EQ(first.commands.count, 2000);
    EXPECT_EQ(first.commands.rows.size(), 2000u);
    ASSERT_TRUE(first.labels);
    EXPECT_EQ(first.labels->title, "[long]");

    const ScriptWatch::Changes idle = watch.Refresh(&script);
    EXPECT_TRUE(idle.commands.Empty(2000));
    EXPECT_TRUE(idle.stack.Empty(0));
    EXPECT_FALSE(idle.labels) << "the labels keep what they show";

    script.Play();
    std::size_t most = 0;
    for (int frame = 0; frame < 100; ++frame) {
        script.Advance(50);
        const ScriptWatch::Changes changes = watch.Refresh(&script);
        most = std::max(most, changes.commands.rows.size());
        EXPECT_EQ(changes.stack.count, script.StackCount());
        for (const auto& [row, text] : changes.commands.rows)
            EXPECT_EQ(text, CommandLine(script.Commands[static_cast<std::size_t>(row)]));
    }
    EXPECT_GT(most, 0u);
    EXPECT_LE(most, 8u);

    // A rewind gives every finished command its duration back: those rows change too.
    script.Reset();
    const ScriptWatch::Changes rewound = watch.Refresh(&script);
    EXPECT_GT(rewound.commands.rows.size(), 40u);
    for (const auto& [row, text] : rewound.commands.rows)
        EXPECT_EQ(text, CommandLine(script.Commands[static_cast<std::size_t>(row)]));
}

TEST(ScriptWatch, WithoutAScriptTheListsEmptyAndTheLabelsStay)
{
    KaAnimScript script = scriptOf({"0 move box (1;0;0) t:10"});
    ScriptWatch watch;
    watch.Refresh(&script);
    const ScriptWatch::Changes none = watch.Refresh(nullptr);
    EXPECT_EQ(none.commands.count, 0);
    EXPECT_EQ(none.stack.count, 0);
    EXPECT_FALSE(none.labels);
    EXPECT_EQ(watch.Refresh(&script).commands.rows.size(), 1u) << "shown again in full";
}

// --- the template menu -------------------------------------------------------------------

TEST(ScriptTemplates, EveryTemplateIsALineTheParserReadsWithoutComplaint)
{
    std::size_t items = 0;
    for (const ScriptTemplateGroup& group : ScriptTemplates()) {
        EXPECT_FALSE(group.hint.empty());
        for (const ScriptTemplate& item : group.items) {
            const AnimLineCheck check = CheckAnimLine(item.caption);
            EXPECT_FALSE(check.dropped) << item.caption;
            for (const AnimLineIssue& issue : check.issues)
                EXPECT_EQ(issue.problem, AnimLineProblem::NoDuration) << item.caption << ": " << issue.text;
            EXPECT_FALSE(item.hint.empty()) << item.caption;
            ++items;
        }
    }
    EXPECT_EQ(items, 20u) << "one template per command";
}

// --- files -------------------------------------------------------------------------------

class ScriptFilesTest : public ra7::test::ScratchDirectoryTest {};

TEST_F(ScriptFilesTest, ASavedScriptStartsWithItsNameLineInCodePage1251AndReadsBack)
{
    writeTextLines("walk.txt", ScriptFileLines("ходьба", {"0 move box (1;0;0) t:10", ""}));
    EXPECT_EQ(ra7::test::readFile("walk.txt"),
              "[\xF5\xEE\xE4\xFC\xE1\xE0]\r\n0 move box (1;0;0) t:10\r\n\r\n");
    const KaAnimScript back = scriptOf(readTextLines("walk.txt"));
    EXPECT_EQ(back.Name, "ходьба");
    EXPECT_EQ(back.ComCount(), 1);
    EXPECT_THAT(ScriptFileLines(std::nullopt, {"0 setvisible a"}), ElementsAre("0 setvisible a"));
}

TEST_F(ScriptFilesTest, AFileIsNamedByItsLastNameLineElseByItsStemMadeUnique)
{
    AnimList = std::make_unique<KaAnimList>();
    EXPECT_EQ(NameForScriptFile("/tmp/levels/walk.txt", ""), "walk");
    KaAnimScript walk;
    walk.Name = "walk";
    AnimList->Add(walk);
    walk.Name = "walk_1";
    AnimList->Add(walk);
    EXPECT_EQ(NameForScriptFile("walk.txt", ""), "walk_2");
    EXPECT_EQ(NameForScriptFile("walk.txt", "walk"), "walk") << "an explicit name is the caller's to refuse";
    AnimList.reset();

    EXPECT_EQ(NameInText({"0 setvisible a"}), std::nullopt);
    EXPECT_EQ(NameInText({"[one]", "0 setvisible a", "  [two]  "}), "two");
    EXPECT_EQ(NameInText({"[]"}), "");
}

TEST(ScriptText, LinesSplitAndJoinBackAndForeignCharactersAreFound)
{
    for (const std::string text : {"", "a", "a\nb", "a\n\nb\n"})
        EXPECT_EQ(JoinLines(SplitLines(text)), text);
    EXPECT_THAT(SplitLines("a\nb\n"), ElementsAre("a", "b", ""));
    EXPECT_TRUE(FitsCodePage({"0 move ящик (1;0;0)", "№ «»"}));
    EXPECT_FALSE(FitsCodePage({"ok", "0 move 箱 (1;0;0)"}));
}

} // namespace
} // namespace ra7::editor
