#include "core/LoadTimeText.h"

namespace ra7::editor {

std::string LoadTimeText(std::int64_t microseconds)
{
    std::string digits = std::to_string(microseconds < 0 ? 0 : microseconds);
    if (digits.size() >= 7)
        return digits.insert(digits.size() - 6, ".") + " секунды";
    if (digits.size() >= 4)
        return digits.insert(digits.size() - 3, ".") + " милисекунд";
    return digits;
}

} // namespace ra7::editor
