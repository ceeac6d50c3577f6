#pragma once
// Field scanning for the converter's text formats: fields are separated by
// runs of blanks (spaces or tabs), numbers use "." (or ",") as the decimal
// separator whatever the locale.

#include <cstdint>
#include <string>
#include <string_view>

namespace ra7 {

inline bool isFieldBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

// Walks the fields of a text one by one.
class FieldCursor {
public:
    explicit FieldCursor(std::string_view text) : rest_(text) {}

    // The next field, or false at the end.
    bool next(std::string_view& field)
    {
        std::size_t i = 0;
        while (i < rest_.size() && isFieldBlank(rest_[i]))
            ++i;
        if (i == rest_.size()) {
            rest_ = {};
            return false;
        }
        std::size_t end = i;
        while (end < rest_.size() && !isFieldBlank(rest_[end]))
            ++end;
        field = rest_.substr(i, end - i);
        rest_.remove_prefix(end);
        return true;
    }

private:
    std::string_view rest_;
};

// A finite single written in decimal; false for anything else.
bool parseNumberFieldSlow(std::string_view field, float& value);

// The same, with a fast path for the usual form "-123.456": at most 7
// significant digits and at most 10 decimals. Then the digits and the power
// of ten are both exact singles and one division rounds correctly.
inline bool parseNumberField(std::string_view field, float& value)
{
    static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    const char* p = field.data();
    const char* end = p + field.size();
    const bool negative = p != end && *p == '-';
    p += negative;
    std::uint32_t mantissa = 0;
    int digits = 0, decimals = 0;
    bool point = false;
    const char* first = p;
    for (; p != end; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p - '0');
        if (digit <= 9) {
            mantissa = mantissa * 10 + digit;
            digits += mantissa != 0;
            decimals += point;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (p != end || p == first || (point && p == first + 1) || digits > 7 || decimals > 10)
        return parseNumberFieldSlow(field, value);
    const float magnitude = static_cast<float>(mantissa) / kPowers[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

// Latin letters to upper case; every other byte is kept.
// The first field of a line and what follows it (blanks included).
struct KeywordLine {
    std::string_view keyword;
    std::string_view rest;
};
inline KeywordLine splitKeyword(std::string_view text)
{
    std::size_t end = 0;
    while (end < text.size() && !isFieldBlank(text[end]))
        ++end;
    return {text.substr(0, end), text.substr(end)};
}

std::string asciiUpper(std::string_view text);
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view upperCaseB);

// How a field appears in a message: quoted and cut to a readable length.
std::string quoteField(std::string_view field);

} // namespace ra7
