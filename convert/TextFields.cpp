#include "TextFields.h"

#include "runtime/TextCodec.h"
#include "runtime/TextUtil.h"

#include <charconv>
#include <cmath>

namespace ra7 {

bool parseNumberFieldSlow(std::string_view field, float& value)
{
    const char* end = field.data() + field.size();
    const auto [stop, ec] = std::from_chars(field.data(), end, value, std::chars_format::general);
    if (ec == std::errc() && stop == end && std::isfinite(value))
        return true;
    // A leading "+" or a decimal comma: the engine's general reader takes them.
    const auto general = parseSingle(field);
    if (!general || !std::isfinite(*general))
        return false;
    value = *general;
    return true;
}

std::string asciiUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - ('a' - 'A'));
    return out;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view upperCaseB)
{
    if (a.size() != upperCaseB.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - ('a' - 'A'));
        if (c != upperCaseB[i])
            return false;
    }
    return true;
}

std::string quoteField(std::string_view field)
{
    constexpr std::size_t kShown = 40;
    std::string shown = cp1251ToUtf8(field.substr(0, kShown));
    if (field.size() > kShown)
        shown += "...";
    return "\"" + shown + "\"";
}

} // namespace ra7
