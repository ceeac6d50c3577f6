// The explanation of script lines: the drop verdict is always the parser's,
// the reasons name what the parser stumbled over, and the parts sit where
// the parser reads them.

#include "anim/AnimLineCheck.h"
#include "anim/Ka7AnimScript.h"
#include "runtime/TextUtil.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace ra7 {
namespace {

using ::testing::HasSubstr;

std::vector<AnimLineProblem> problems(const AnimLineCheck& check)
{
    std::vector<AnimLineProblem> found;
    for (const AnimLineIssue& issue : check.issues)
        found.push_back(issue.problem);
    return found;
}

std::string partText(std::string_view line, const AnimLineCheck& check, AnimLinePart part, int nth = 0)
{
    for (const AnimLineSpan& span : check.spans)
        if (span.part == part && nth-- == 0)
            return std::string(line.substr(span.begin, span.end - span.begin));
    return "<none>";
}

TEST(AnimLineCheck, DroppedLinesCarryTheReasonTheParserDropsThemFor)
{
    struct Case {
        const char* line;
        AnimLineProblem problem;
        const char* says;
    };
    const Case cases[] = {
        {"5 Move box (1;0;0) t:10", AnimLineProblem::UnknownCommand, "команды пишутся строчными: move"},
        {"0 call Name", AnimLineProblem::UnknownCommand, "неизвестная команда «call»"},
        {"-1 move box (1;0;0) t:10", AnimLineProblem::BadTime, "−1"},
        {"x move box (1;0;0) t:10", AnimLineProblem::BadTime, "«x» не время"},
        {"1.5 move box (1;0;0) t:10", AnimLineProblem::BadTime, "«1.5»"},
        {"move", AnimLineProblem::NoSpace, "одно слово"},
    };
    for (const Case& c : cases) {
        const AnimLineCheck check = CheckAnimLine(c.line);
        EXPECT_TRUE(check.dropped) << c.line;
        ASSERT_EQ(check.issues.size(), 1u) << c.line;
        EXPECT_EQ(check.issues[0].problem, c.problem) << c.line;
        EXPECT_THAT(check.issues[0].text, HasSubstr(c.says)) << c.line;
    }
    // The reason points at the word at fault.
    const std::string line = "5 Move box (1;0;0) t:10";
    const AnimLineIssue issue = CheckAnimLine(line).issues[0];
    EXPECT_EQ(line.substr(issue.begin, issue.end - issue.begin), "Move");
}

TEST(AnimLineCheck, PartsSitWhereTheParserReadsThemInTheUntrimmedLine)
{
    const std::string line = "  12 move   box.1 (1;2;3) (4;5;6) T:10 ";
    const AnimLineCheck check = CheckAnimLine(line);
    EXPECT_FALSE(check.dropped);
    EXPECT_TRUE(check.issues.empty());
    EXPECT_EQ(partText(line, check, AnimLinePart::Time), "12");
    EXPECT_EQ(partText(line, check, AnimLinePart::Command), "move");
    EXPECT_EQ(partText(line, check, AnimLinePart::Object), "box.1");
    EXPECT_EQ(partText(line, check, AnimLinePart::Vector, 0), "(1;2;3)");
    EXPECT_EQ(partText(line, check, AnimLinePart::Vector, 1), "(4;5;6)");
    EXPECT_EQ(partText(line, check, AnimLinePart::Duration), "T:10");

    const std::string attach = "0 attach lamp box extra";
    const AnimLineCheck second = CheckAnimLine(attach);
    EXPECT_EQ(partText(attach, second, AnimLinePart::SecondName), "box");
    EXPECT_THAT(problems(second), ::testing::ElementsAre(AnimLineProblem::IgnoredText));
}

TEST(AnimLineCheck, KeptLinesSayWhichPartsReadAsZeroOrNothing)
{
    struct Case {
        const char* line;
        std::vector<AnimLineProblem> problems;
        const char* says;
    };
    const Case cases[] = {
        {"0 move box (1;x;3) t:10", {AnimLineProblem::BadVector}, "(1;0;3)"},
        {"0 move box (5) t:10", {AnimLineProblem::BadVector}, "(0;0;5)"},
        {"0 move box (1;0;0) t:10x", {AnimLineProblem::BadDuration}, "«10x»"},
        {"0 move box (1;0;0) 10", {AnimLineProblem::IgnoredText, AnimLineProblem::NoDuration}, "t:10"},
        {"0 move box (1;0;0)", {AnimLineProblem::NoDuration}, "t:"},
        {"0 move box t:10", {AnimLineProblem::BadVector}, "нет вектора"},
        {"0 move box", {AnimLineProblem::BadVector, AnimLineProblem::NoDuration}, "нет вектора"},
        {"0 deattach", {AnimLineProblem::NoObject}, "нет имени объекта"},
        {"0 attach obj1", {AnimLineProblem::NoObject}, "нет второго объекта"},
        {"-3 move box (1;0;0) t:10", {AnimLineProblem::NegativeTime}, "не запустится"},
        {"[walk", {AnimLineProblem::NameWithoutBracket}, "«wal»"},
    };
    for (const Case& c : cases) {
        const AnimLineCheck check = CheckAnimLine(c.line);
        EXPECT_FALSE(check.dropped) << c.line;
        EXPECT_EQ(problems(check), c.problems) << c.line;
        ASSERT_FALSE(check.issues.empty()) << c.line;
        EXPECT_THAT(check.issues[0].text, HasSubstr(c.says)) << c.line;
    }
    for (const char* clean : {"0 setvisible box", "0 parsettex par data\\fire.png", "[walk]",
                              "3 parsetcolor par (0.5;0,25;1e-1)", "0 scale box (2;2;2) T:10"}) {
        const AnimLineCheck check = CheckAnimLine(clean);
        EXPECT_FALSE(check.dropped) << clean;
        EXPECT_TRUE(check.issues.empty()) << clean << ": " << check.issues[0].text;
    }
    EXPECT_TRUE(CheckAnimLine(" \t ").blank);
    EXPECT_TRUE(CheckAnimLine("[walk]").nameLine);
}

// Every line built from these words, two to five at a time: the verdict is
// the parser's, the parts lie inside the line in order, and the command and
// object parts are what the parser keeps.
TEST(AnimLineCheck, AgreesWithTheParserOnEveryCombinationOfWords)
{
    const std::vector<std::string> words = {"0",      "-1",       "x",     "7",        "move", "Move",
                                            "attach", "deattach", "box.1", "(1;2;3)",  "(1;x", "t:10",
                                            "T:x",    "10",       "\t",    "parsettex"};
    std::vector<std::string> lines = {""};
    std::size_t checked = 0;
    for (int length = 1; length <= 4; ++length) {
        std::vector<std::string> longer;
        for (const std::string& start : lines)
            for (const std::string& word : words)
                longer.push_back(start.empty() ? word : start + " " + word);
        lines = std::move(longer);
        for (const std::string& line : lines) {
            const AnimLineCheck check = CheckAnimLine(line);
            const std::string_view trimmed = trimBlanks(line);
            if (trimmed.empty()) {
                EXPECT_TRUE(check.blank) << line;
                continue;
            }
            const KaAnimCom parsed = ParseAnimLine(trimmed);
            ASSERT_EQ(check.dropped, parsed.Command.empty()) << "«" << line << "»";
            if (check.dropped) {
                ASSERT_EQ(check.issues.size(), 1u) << line;
            }
            std::size_t previous = 0;
            for (const AnimLineSpan& span : check.spans) {
                ASSERT_LE(previous, span.begin) << line;
                ASSERT_LE(span.begin, span.end) << line;
                ASSERT_LE(span.end, line.size()) << line;
                previous = span.end;
            }
            for (const AnimLineIssue& issue : check.issues) {
                ASSERT_LE(issue.end, line.size()) << line;
                ASSERT_FALSE(issue.text.empty()) << line;
            }
            if (!check.dropped) {
                EXPECT_EQ(partText(line, check, AnimLinePart::Command), parsed.Command) << line;
                std::string object = partText(line, check, AnimLinePart::Object);
                std::replace(object.begin(), object.end(), '.', ',');
                if (!parsed.ObjName.empty()) {
                    EXPECT_EQ(object, parsed.ObjName) << line;
                }
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 60000u);
}

} // namespace
} // namespace ra7
