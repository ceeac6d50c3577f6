#include "core/ConsoleLineStyle.h"

#include "runtime/TextUtil.h"

namespace ra7::editor {

ConsoleLineStyle StyleConsoleLine(std::string_view logLine)
{
    ConsoleLineStyle style;
    style.text = std::string(logLine.size() > 2 ? logLine.substr(2) : std::string_view());
    const std::string_view trimmed = trimBlanks(logLine);
    if (!trimmed.empty()) {
        switch (trimmed.front()) {
        case '!':
            style.colour = ConsoleColour::Error;
            break;
        case '*':
            style.colour = ConsoleColour::Step;
            break;
        case '>':
            style.colour = ConsoleColour::Command;
            break;
        default:
            break;
        }
    }
    return style;
}

} // namespace ra7::editor
