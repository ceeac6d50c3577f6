#include "anim/AnimLineCheck.h"

#include "anim/Ka7AnimScript.h"
#include "anim/Ka7AnimScriptCommands.h"
#include "runtime/TextUtil.h"

#include <algorithm>
#include <array>

namespace ra7 {

namespace {

// The commands that spread a change over their duration, and those that
// read no vector at all.
constexpr std::array<std::string_view, 8> kTimedCommands = {"move",
                                                            "rotate",
                                                            "scale",
                                                            "paraddminmaxlife",
                                                            "paraddminmaxspeed",
                                                            "paraddminmaxsize",
                                                            "paraddspread_sizeadd",
                                                            "paraddcolor"};
constexpr std::array<std::string_view, 5> kCommandsWithoutVector = {"attach", "deattach", "setvisible",
                                                                    "setinvisible", "parsettex"};

template <std::size_t N>
bool among(const std::array<std::string_view, N>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string quoted(std::string_view text)
{
    return "«" + std::string(text) + "»";
}

std::string vectorText(const Vector3& v)
{
    return "(" + formatSingle(v.x) + ";" + formatSingle(v.y) + ";" + formatSingle(v.z) + ")";
}

// "(" number ";" number ";" number ")", blanks allowed around the numbers.
bool isWholeVector(std::string_view text)
{
    if (text.size() < 2 || text.front() != '(' || text.back() != ')')
        return false;
    text = text.substr(1, text.size() - 2);
    for (int component = 0; component < 3; ++component) {
        const auto end = component < 2 ? text.find(';') : text.size();
        if (end == std::string_view::npos || !parseSingle(trimBlanks(text.substr(0, end))))
            return false;
        text = end < text.size() ? text.substr(end + 1) : std::string_view();
    }
    return true;
}

// Walks a trimmed line the way the parser splits it: a token runs to the
// next space, and the rest after that space is trimmed.
class LineWalker {
public:
    LineWalker(std::string_view line, std::size_t begin, std::size_t end)
        : line_(line), pos_(begin), end_(end)
    {
    }

    struct Token {
        std::size_t begin;
        std::size_t end;
        bool spaceAfter;
    };

    Token Take()
    {
        const std::size_t begin = pos_;
        const auto space = line_.substr(0, end_).find(' ', pos_);
        if (space == std::string_view::npos) {
            pos_ = end_;
            return {begin, end_, false};
        }
        pos_ = space + 1;
        while (pos_ < end_ && isBlank(line_[pos_]))
            ++pos_;
        return {begin, space, true};
    }
    std::string_view Text(const Token& token) const
    {
        return line_.substr(token.begin, token.end - token.begin);
    }
    std::size_t Position() const { return pos_; }
    void Skip(std::size_t bytes) { pos_ = std::min(end_, pos_ + bytes); }
    std::string_view Rest() const { return line_.substr(pos_, end_ - pos_); }
    std::size_t End() const { return end_; }

private:
    std::string_view line_;
    std::size_t pos_;
    std::size_t end_;
};

class Checker {
public:
    Checker(AnimLineCheck& check, std::string_view line) : check_(check), line_(line) {}

    void Span(AnimLinePart part, std::size_t begin, std::size_t end)
    {
        check_.spans.push_back({part, begin, end});
    }
    void Issue(AnimLineProblem problem, std::size_t begin, std::size_t end, std::string text)
    {
        check_.issues.push_back({problem, begin, end, std::move(text)});
    }
    // Text the parser skips, when there is any besides blanks.
    void Ignored(std::size_t begin, std::size_t end, const std::string& hint = {})
    {
        const std::string_view text = trimBlanks(line_.substr(begin, end - begin));
        if (text.empty())
            return;
        const std::size_t at = static_cast<std::size_t>(text.data() - line_.data());
        Issue(AnimLineProblem::IgnoredText, at, at + text.size(), quoted(text) + " не читается" + hint);
    }

private:
    AnimLineCheck& check_;
    std::string_view line_;
};

void checkNameLine(AnimLineCheck& check, std::string_view line, std::size_t begin, std::size_t end)
{
    check.nameLine = true;
    check.spans.push_back({AnimLinePart::Name, begin, end});
    const std::string_view trimmed = line.substr(begin, end - begin);
    if (trimmed.size() >= 2 && trimmed.back() == ']')
        return;
    const std::string_view name = trimmed.substr(1, trimmed.size() >= 2 ? trimmed.size() - 2 : 0);
    check.issues.push_back({AnimLineProblem::NameWithoutBracket, begin, end,
                            "нет «]» в конце: имя читается как " + quoted(name)});
}

std::string unknownCommandText(std::string_view command)
{
    std::string text = "неизвестная команда " + quoted(command);
    const std::string lower = asciiLower(command);
    if (lower != command && FindAnimCommand(lower))
        text += " (команды пишутся строчными: " + lower + ")";
    return text;
}

// The vectors and the duration after the object's name.
void checkArguments(Checker& checker, LineWalker& walker, const LineWalker::Token& command,
                    std::string_view commandName, std::string_view line)
{
    std::string rest(walker.Rest());
    bool firstVector = false;
    for (int i = 0; i < 3; ++i) {
        const std::string before = rest;
        const Vector3 value = ParseAnimVector(rest);
        const std::size_t consumed = before.size() - rest.size();
        if (consumed == 0)
            break;
        firstVector = firstVector || i == 0;
        const std::size_t start = walker.Position();
        const std::size_t open = before.find('(');
        checker.Ignored(start, start + open);
        checker.Span(AnimLinePart::Vector, start + open, start + consumed);
        if (!isWholeVector(trimBlanks(std::string_view(before).substr(open, consumed - open))))
            checker.Issue(AnimLineProblem::BadVector, start + open, start + consumed,
                          "вектор читается как " + vectorText(value));
        walker.Skip(consumed);
    }
    if (!firstVector && !among(kCommandsWithoutVector, commandName))
        checker.Issue(AnimLineProblem::BadVector, command.begin, command.end,
                      "нет вектора: читается как (0;0;0)");

    const std::size_t start = walker.Position();
    const std::string tail = asciiLower(walker.Rest());
    std::int32_t length = 0;
    bool badDuration = false;
    if (const auto mark = tail.find("t:"); mark != std::string::npos) {
        checker.Ignored(start, start + mark);
        checker.Span(AnimLinePart::Duration, start + mark, walker.End());
        const std::string_view number = trimBlanks(std::string_view(tail).substr(mark + 2));
        if (const auto parsed = parseInt32(number)) {
            length = *parsed;
        } else {
            badDuration = true;
            checker.Issue(AnimLineProblem::BadDuration, start + mark, walker.End(),
                          "длительность " +
                              quoted(line.substr(start + mark + 2, walker.End() - start - mark - 2)) +
                              " не целое число: читается как 0");
        }
    } else {
        const std::string_view text = trimBlanks(walker.Rest());
        const bool number = parseInt32(text).has_value();
        checker.Ignored(start, walker.End(),
                        number ? " (длительность пишется t:" + std::string(text) + ")" : std::string());
    }
    if (length <= 0 && !badDuration && among(kTimedCommands, commandName))
        checker.Issue(AnimLineProblem::NoDuration, command.begin, command.end,
                      "без длительности t: больше 0 команда ничего не меняет");
}

void checkCommandLine(AnimLineCheck& check, std::string_view line, std::size_t begin, std::size_t end)
{
    check.dropped = ParseAnimLine(line.substr(begin, end - begin)).Command.empty();
    Checker checker(check, line);
    LineWalker walker(line, begin, end);

    const LineWalker::Token time = walker.Take();
    if (!time.spaceAfter) {
        checker.Issue(AnimLineProblem::NoSpace, begin, end,
                      "одно слово: нужны время, команда и объект через пробел");
        return;
    }
    const std::string_view timeText = walker.Text(time);
    const auto timeValue = parseInt32(timeText);
    checker.Span(AnimLinePart::Time, time.begin, time.end);
    if (!timeValue || *timeValue == -1) {
        checker.Issue(AnimLineProblem::BadTime, time.begin, time.end,
                      timeValue ? std::string("время −1 не допускается")
                                : quoted(timeText) + " не время: нужно целое число");
        return;
    }

    const LineWalker::Token command = walker.Take();
    const std::string_view commandName = walker.Text(command);
    if (!FindAnimCommand(commandName)) {
        checker.Issue(AnimLineProblem::UnknownCommand, command.begin, command.end,
                      unknownCommandText(commandName));
        return;
    }
    checker.Span(AnimLinePart::Command, command.begin, command.end);
    if (*timeValue < 0)
        checker.Issue(AnimLineProblem::NegativeTime, time.begin, time.end,
                      "время меньше 0: после перемотки команда не запустится");
    if (!command.spaceAfter) {
        checker.Issue(AnimLineProblem::NoObject, command.begin, command.end,
                      "нет имени объекта: команда ничего не делает");
        return;
    }

    const LineWalker::Token object = walker.Take();
    checker.Span(AnimLinePart::Object, object.begin, object.end);
    const bool secondName = commandName == "attach" || commandName == "parsettex";
    if (secondName) {
        if (!object.spaceAfter) {
            checker.Issue(AnimLineProblem::NoObject, object.begin, object.end,
                          commandName == "attach" ? "нет второго объекта: attach ничего не делает"
                                                  : "нет имени текстуры");
            return;
        }
        const LineWalker::Token second = walker.Take();
        checker.Span(AnimLinePart::SecondName, second.begin, second.end);
        checker.Ignored(walker.Position(), end);
        return;
    }
    // Without a space after the name the parser stops there: no vector, no duration.
    checkArguments(checker, walker, command, commandName, line);
}

} // namespace

AnimLineCheck CheckAnimLine(std::string_view line)
{
    AnimLineCheck check;
    const std::string_view trimmed = trimBlanks(line);
    if (trimmed.empty()) {
        check.blank = true;
        return check;
    }
    const std::size_t begin = static_cast<std::size_t>(trimmed.data() - line.data());
    const std::size_t end = begin + trimmed.size();
    if (trimmed.front() == '[')
        checkNameLine(check, line, begin, end);
    else
        checkCommandLine(check, line, begin, end);
    return check;
}

} // namespace ra7
