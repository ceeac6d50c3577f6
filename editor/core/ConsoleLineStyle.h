#pragma once
// How the console window shows a log line: the text after the two columns
// that the log puts in front (a marker and a blank, or the two-blank indent)
// and a colour chosen by the marker.

#include <string>
#include <string_view>

namespace ra7::editor {

enum class ConsoleColour {
    Normal,  // the list's text colour
    Error,   // "!": red
    Step,    // "*": the desktop background colour
    Command, // ">": bright green
};

struct ConsoleLineStyle {
    std::string text;
    ConsoleColour colour = ConsoleColour::Normal;
};

ConsoleLineStyle StyleConsoleLine(std::string_view logLine);

} // namespace ra7::editor
