#include "core/PageRules.h"

#include "runtime/PathResolver.h"
#include "runtime/TextCodec.h"
#include "runtime/TextUtil.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace ra7::editor {

namespace {

// The longest name a record file's string field holds, in code-page bytes.
constexpr std::size_t kLongestName = 255;

bool endsWithIgnoringCase(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && foldCase(text.substr(text.size() - end.size())) == foldCase(end);
}

} // namespace

std::string TrimmedName(std::string_view name)
{
    return std::string(trimBlanks(name));
}

std::optional<std::string> NameProblem(std::string_view name, std::string_view what)
{
    const std::string trimmed = TrimmedName(name);
    const std::string label(what);
    if (trimmed.empty())
        return label + " не может быть пустым";
    if (cp1251ToUtf8(utf8ToCp1251(trimmed)) != trimmed)
        return label + " <" + trimmed + "> содержит знаки, которых нет в кодировке 1251";
    if (utf8ToCp1251(trimmed).size() > kLongestName)
        return label + " длиннее " + std::to_string(kLongestName) + " знаков";
    return std::nullopt;
}

std::optional<float> ParseTypedNumber(std::string_view text, NumberLimits limits)
{
    const std::optional<float> value = parseSingle(trimBlanks(text));
    if (!value || !std::isfinite(*value) || *value < limits.min || *value > limits.max)
        return std::nullopt;
    return value;
}

std::string FormatBoxNumber(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(value));
    return text;
}

std::int32_t ScaledBar::Position(float value) const
{
    const double scaled = std::round(static_cast<double>(value) * static_cast<double>(scale));
    if (!(scaled >= min)) // also NaN
        return min;
    if (scaled > max)
        return max;
    return static_cast<std::int32_t>(scaled);
}

float ScaledBar::Value(std::int32_t position) const
{
    return static_cast<float>(static_cast<double>(position) / static_cast<double>(scale));
}

std::string ScaledBar::Text(float value) const
{
    std::string text = FormatBoxNumber(value);
    // 1.500 → 1.5, 2.000 → 2: a label beside a bar reads better short.
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

std::uint8_t PreviewByte(float component)
{
    const double byte = std::round(static_cast<double>(component) / 2.0 * 255.0);
    if (!(byte > 0))
        return 0;
    return byte >= 255 ? 255 : static_cast<std::uint8_t>(byte);
}

std::string StoredFileName(std::string_view chosenPath, StoredNameRules rules)
{
    std::string name = storedForm(relativeToWorkingDirectory(std::filesystem::path(chosenPath)));
    if (rules.lowerCase)
        name = foldCase(name);
    if (!rules.extension.empty() && !endsWithIgnoringCase(name, rules.extension))
        name += rules.extension;
    return name;
}

bool StoredFileExists(std::string_view storedName)
{
    std::error_code error;
    return std::filesystem::is_regular_file(resolvePath(storedName), error);
}

std::string FileAddedLine(std::string_view storedName)
{
    return "Файл <" + std::string(storedName) + "> добавлен";
}

std::string FileMissingLine(std::string_view storedName)
{
    return "Файл <" + std::string(storedName) + "> не найден";
}

} // namespace ra7::editor
