#include "anim/Ka7AnimScript.h"

#include "anim/Ka7AnimScriptCommands.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Log.h"
#include "runtime/TextUtil.h"

#include <algorithm>
#include <cmath>

namespace ra7 {

namespace {

float numberOr0(std::string_view text)
{
    return parseSingle(trimBlanks(text)).value_or(0.0f);
}

// Takes the text before `delimiter` and removes it with the delimiter; without
// the delimiter the component stays empty and the text is kept.
std::string_view takeBefore(std::string& text, char delimiter, std::string& taken)
{
    const auto at = text.find(delimiter);
    if (at == std::string::npos) {
        taken.clear();
        return {};
    }
    taken = text.substr(0, at);
    text.erase(0, at + 1);
    return taken;
}

// Splits off the token before the next space; without a space the whole rest
// is the token and nothing remains. Returns whether a space was found.
bool takeToken(std::string& rest, std::string& token)
{
    const auto space = rest.find(' ');
    if (space == std::string::npos) {
        token = rest;
        rest.clear();
        return false;
    }
    token = rest.substr(0, space);
    rest = std::string(trimBlanks(std::string_view(rest).substr(space + 1)));
    return true;
}

} // namespace

std::int32_t RoundHalfEven(float value)
{
    const double floor = std::floor(static_cast<double>(value));
    const double fraction = static_cast<double>(value) - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        rounded = floor + 1;
    return static_cast<std::int32_t>(rounded);
}

Vector3 ParseAnimVector(std::string& text)
{
    Vector3 v;
    const auto open = text.find('(');
    if (open == std::string::npos)
        return v;
    text.erase(0, open + 1);
    std::string component;
    v.x = numberOr0(takeBefore(text, ';', component));
    v.y = numberOr0(takeBefore(text, ';', component));
    v.z = numberOr0(takeBefore(text, ')', component));
    return v;
}

KaAnimCom ParseAnimLine(std::string_view line)
{
    // Names keep their "." (a texture file, "CUBE.001"); numbers take either
    // separator, and the commands also find a name in its "," form.
    std::string rest(line);

    KaAnimCom command;
    std::string token;
    if (!takeToken(rest, token))
        return {};
    const std::int32_t time = parseInt32(token).value_or(-1);
    if (time == -1)
        return {};
    command.Time = time;

    const bool more = takeToken(rest, command.Command);
    command.Proc = FindAnimCommand(command.Command);
    if (!command.Proc)
        return {};
    if (!more)
        return command;

    if (!takeToken(rest, command.ObjName))
        return command;

    if (command.Command == "attach" || command.Command == "parsettex") {
        takeToken(rest, command.ObjName2);
        return command;
    }
    command.Vec1 = ParseAnimVector(rest);
    command.Vec2 = ParseAnimVector(rest);
    command.Vec3 = ParseAnimVector(rest);

    const std::string tail = asciiLower(rest);
    if (const auto mark = tail.find("t:"); mark != std::string::npos) {
        command.Length = parseInt32(trimBlanks(std::string_view(tail).substr(mark + 2))).value_or(0);
        command.TimeLeft = static_cast<float>(command.Length);
    }
    return command;
}

void SortCommands(KaAnimArr& commands)
{
    std::stable_sort(commands.begin(), commands.end(),
                     [](const KaAnimCom& a, const KaAnimCom& b) { return a.Time < b.Time; });
}

void KaAnimScript::LoadFromStrings(const std::vector<std::string>& lines)
{
    Commands.clear();
    for (const std::string& raw : lines) {
        const std::string_view line = trimBlanks(raw);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            Name = std::string(line.substr(1, line.size() >= 2 ? line.size() - 2 : 0));
            continue;
        }
        KaAnimCom command = ParseAnimLine(line);
        if (!command.Command.empty())
            Commands.push_back(std::move(command));
    }
    if (!Commands.empty())
        SortCommands(Commands);
}

void KaAnimScript::Reset()
{
    Position = 0;
    PosInCom = 0;
    Speed = 0;
    for (KaAnimCom& command : Commands)
        command.TimeLeft = static_cast<float>(command.Length);
    Stack.clear();
}

void KaAnimScript::PushCommand(std::int32_t index)
{
    Stack.push_back(index);
}

void KaAnimScript::RemoveFromStack(std::int32_t i)
{
    if (i < 0 || i >= StackCount())
        throw Error("Array index out of bounds.");
    Stack[static_cast<std::size_t>(i)] = Stack.back();
    Stack.pop_back();
}

void KaAnimScript::RunCommand(KaAnimCom& command, float step)
{
    command.Proc(command.ObjName, command.ObjName2, command.Vec1, command.Vec2, command.Vec3,
                 static_cast<float>(command.Length), step);
}

void KaAnimScript::Advance(float frameTimeMs)
{
    const float step = Speed * frameTimeMs / 100.0f;
    const std::int32_t before = RoundHalfEven(Position);
    Position += step;
    const std::int32_t now = RoundHalfEven(Position);

    for (std::int32_t i = PosInCom; i < ComCount(); ++i) {
        const std::int32_t time = Commands[static_cast<std::size_t>(i)].Time;
        if (time > now)
            break;
        if (time >= before) {
            PushCommand(i);
            PosInCom = i + 1;
        }
    }

    for (std::int32_t j = StackCount() - 1; j >= 0; --j) {
        KaAnimCom& command = Commands[static_cast<std::size_t>(Stack[static_cast<std::size_t>(j)])];
        command.TimeLeft -= step;
        bool done = command.TimeLeft <= 0;
        try {
            RunCommand(command, done ? step + command.TimeLeft : step); // the last call: only what was due
        } catch (const std::exception& error) {
            // A command that fails (a texture that cannot be read) would fail
            // again every frame: it is reported once and dropped, and the other
            // commands and scripts go on.
            LogLine("! Скрипт \"" + Name + "\": команда " + command.Command + " " + command.ObjName +
                    " снята: " + error.what());
            done = true;
        }
        if (done) {
            command.TimeLeft = 0;
            RemoveFromStack(j);
        }
    }
}

} // namespace ra7
