#pragma once
// The engine's command interpreter: one line is echoed to the log, split into
// a command word and up to three arguments, and run from a fixed table.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

using ConsoleProc = std::function<void(const std::string&, const std::string&, const std::string&)>;

inline constexpr std::size_t kCommandNameCapacity = 31;

struct KaConsoleCommand {
    std::string Name; // at most kCommandNameCapacity characters
    ConsoleProc Proc;
};

// A console line taken apart: the command word as typed and three arguments
// (missing ones are empty).
struct ConsoleLine {
    std::string word;
    std::array<std::string, 3> arguments;
};

// Splits a trimmed line: the word is the text before the first blank; each
// argument is what follows the next "<" (or the rest of the line when there
// is none) up to the next ">".
ConsoleLine SplitConsoleLine(std::string_view line);

// Creates the empty log and registers `commands` in their order. The engine's
// own table and an InitConsole without arguments that uses it live in
// host/Ka7ConsoleCommands.h.
void InitConsole(const std::vector<KaConsoleCommand>& commands);
// Clears the command table and frees the log.
void DoneConsole();

// Runs one line; every result goes to the log. Errors of the commands
// themselves pass on to the caller.
void ExecuteCommand(std::string_view line);

// The first registered command whose name equals the word in lower case.
const KaConsoleCommand* FindCommand(std::string_view word);

} // namespace ra7
