#pragma once
// The engine's one log. Lines stay in memory for the console window and are
// written to log.txt (code page 1251, CR LF) as they come, so the file is
// complete on disk after every line. Markers in the first column: "* " a
// start-up or shut-down step, "! " an error or warning, "> " an echoed
// console command, "- " a detail line; every other line is indented by two
// blanks.

#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

inline constexpr const char* kLogFileName = "log.txt";

// Creates the empty log; log.txt is taken in the working directory of this
// moment and replaced by the first line.
void OpenLog();
// Frees the log. The file keeps what was written.
void CloseLog();
bool LogIsOpen();

// Appends one message (trimmed; indented by two blanks unless its second
// character is a blank) and writes it to log.txt. Never reports a failure to
// write: the line stays in memory and the next line rewrites the whole file.
void LogLine(std::string_view text);

// Rewrites log.txt with every line in memory.
void SaveLog();

// All lines, each ended by CR LF.
std::string LogText();
const std::vector<std::string>& LogLines();

// Whether a line was added since the last call; clears the flag.
bool LogChanged();

// The line as LogLine stores it.
std::string FormatLogLine(std::string_view text);

} // namespace ra7
