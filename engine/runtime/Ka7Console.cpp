#include "runtime/Ka7Console.h"

#include "runtime/Ka7Log.h"
#include "runtime/TextUtil.h"

#include <vector>

namespace ra7 {

namespace {
// The lookup list, in registration order.
std::vector<KaConsoleCommand> CommandList;
} // namespace

ConsoleLine SplitConsoleLine(std::string_view line)
{
    ConsoleLine result;
    const auto blank = line.find(' ');
    result.word = std::string(line.substr(0, blank));
    std::string_view rest = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    for (std::string& argument : result.arguments) {
        if (const auto open = rest.find('<'); open != std::string_view::npos)
            rest.remove_prefix(open + 1);
        const auto close = rest.find('>');
        if (close == std::string_view::npos) {
            argument = std::string(rest);
            rest = {};
        } else {
            argument = std::string(rest.substr(0, close));
            rest.remove_prefix(close + 1);
        }
    }
    return result;
}

void InitConsole(const std::vector<KaConsoleCommand>& commands)
{
    OpenLog();
    CommandList = commands;
}

void DoneConsole()
{
    CommandList.clear();
    CloseLog();
}

const KaConsoleCommand* FindCommand(std::string_view word)
{
    const std::string lower = asciiLower(word);
    for (const KaConsoleCommand& command : CommandList)
        if (command.Name == lower)
            return &command;
    return nullptr;
}

void ExecuteCommand(std::string_view line)
{
    line = trimBlanks(line);
    if (line.empty())
        return;
    LogLine("> " + std::string(line));
    const ConsoleLine parts = SplitConsoleLine(line);
    const KaConsoleCommand* command = FindCommand(parts.word);
    if (!command) {
        LogLine("! " + parts.word + " не является командой консоли");
        return;
    }
    command->Proc(parts.arguments[0], parts.arguments[1], parts.arguments[2]);
}

} // namespace ra7
