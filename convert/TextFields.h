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
bool parseNumberField(std::string_view field, float& value);

// Latin letters to upper case; every other byte is kept.
std::string asciiUpper(std::string_view text);
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view upperCaseB);

// How a field appears in a message: quoted and cut to a readable length.
std::string quoteField(std::string_view field);

} // namespace ra7
