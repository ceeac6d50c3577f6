#pragma once
// Script text files as the editor reads and writes them: code page 1251 on
// disk, one statement a line, an optional "[name]" line naming the script.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ra7::editor {

// The name a script read from `path` gets: the name its "[name]" lines give
// (`named`, empty when the text names none), else the file's stem, with "_"
// and the first free number when a script of that name is listed. An
// explicit name is kept as it is, taken or not: the caller refuses it.
std::string NameForScriptFile(std::string_view path, const std::string& named);

// The name the text's "[name]" lines give (the last one wins), or nothing.
std::optional<std::string> NameInText(const std::vector<std::string>& lines);

// The lines to write: the "[name]" line first when the script has a name
// to give (none when no script is selected), then the text.
std::vector<std::string> ScriptFileLines(const std::optional<std::string>& name,
                                         const std::vector<std::string>& text);

// Whether every character of the text has a place in code page 1251 (the
// others are written as "?").
bool FitsCodePage(const std::vector<std::string>& lines);

// Splits the window's text into lines ("\n" between them, as Qt gives it).
std::vector<std::string> SplitLines(std::string_view text);
std::string JoinLines(const std::vector<std::string>& lines);

} // namespace ra7::editor
