#pragma once
// The one text codec of the program. Strings are UTF-8 inside; every text and
// record file on disk is Windows code page 1251. Convert only at that boundary.

#include <cstddef>
#include <string>
#include <string_view>

namespace ra7 {

// Every byte maps to one character, so this never fails. Byte 0x98, which the
// code page leaves unassigned, becomes U+0098 so that all 256 bytes survive a
// round trip.
std::string cp1251ToUtf8(std::string_view cp1251);

// The Unicode character of one code-page byte.
char32_t cp1251CodePoint(unsigned char byte);

// Characters the code page cannot hold, and bytes that are not valid UTF-8,
// become "?".
std::string utf8ToCp1251(std::string_view utf8);

// Number of characters (code points) in a UTF-8 text; an invalid byte counts
// as one character, as it becomes one "?" in code page 1251.
std::size_t utf8Length(std::string_view utf8);

// The first `maxChars` characters of a UTF-8 text (its code-page form is then
// at most `maxChars` bytes, one byte a character).
std::string utf8Prefix(std::string_view utf8, std::size_t maxChars);

// Lower case for comparisons that ignore letter case: Latin and Cyrillic
// letters (including Ё and the Ukrainian and Belarusian ones) as Windows
// folds them in code page 1251. Other characters are kept.
std::string foldCase(std::string_view utf8);

} // namespace ra7
