#pragma once
// Small text helpers shared by every reader of the engine: trimming as the
// engine's files expect it, and locale-independent number conversion.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ra7 {

// Removes leading and trailing blanks and control characters (every byte up
// to and including the blank).
std::string_view trimBlanks(std::string_view text);

// Latin letters to lower case; every other byte is kept.
std::string asciiLower(std::string_view text);

// A whole decimal integer with an optional sign; nothing else may follow.
// Empty when the text is not such a number or does not fit in 32 bits.
std::optional<std::int32_t> parseInt32(std::string_view text);
std::optional<std::int64_t> parseInt64(std::string_view text);

// A whole decimal number; "." and "," are both taken as the decimal
// separator, an exponent is allowed. Empty when the text is not a number.
std::optional<float> parseSingle(std::string_view text);

// A single as the engine writes it in text files: up to 15 significant
// digits of the stored value, "." as the separator (0.9f -> 0.899999976158142).
std::string formatSingle(float value);

} // namespace ra7
