#include "runtime/TextUtil.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace ra7 {

namespace {
bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}
} // namespace

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string asciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return out;
}

namespace {
template <class Int>
std::optional<Int> parseInteger(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    Int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}
} // namespace

std::optional<std::int32_t> parseInt32(std::string_view text)
{
    return parseInteger<std::int32_t>(text);
}

std::optional<std::int64_t> parseInt64(std::string_view text)
{
    return parseInteger<std::int64_t>(text);
}

std::optional<float> parseSingle(std::string_view text)
{
    std::string normalized(text);
    for (char& c : normalized)
        if (c == ',')
            c = '.';
    std::string_view digits = normalized;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    if (digits.empty())
        return std::nullopt;
    // Parse as double, then round once to single, as a reader of text would.
    double value = 0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::general);
    if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    // A double beyond the single range has no single to become (the cast
    // would be undefined); it is as much "not a number" as "abc".
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(value);
}

std::string formatSingle(float value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", static_cast<double>(value));
    return buffer;
}

} // namespace ra7
