#pragma once
// How the editor reports the time a load took.

#include <cstdint>
#include <string>

namespace ra7::editor {

// Microseconds as the console shows them: 1234567 → "1.234567 секунды",
// 12345 → "12.345 милисекунд", 999 → "999".
std::string LoadTimeText(std::int64_t microseconds);

} // namespace ra7::editor
