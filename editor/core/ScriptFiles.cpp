#include "core/ScriptFiles.h"

#include "anim/Ka7AnimScript.h"
#include "anim/Ka7AnimScriptList.h"
#include "runtime/TextCodec.h"

#include <filesystem>

namespace ra7::editor {

namespace {

bool listed(const std::string& name)
{
    return AnimList && AnimList->IndexOf(name) >= 0;
}

} // namespace

std::string NameForScriptFile(std::string_view path, const std::string& named)
{
    if (!named.empty())
        return named;
    const std::string stem = std::filesystem::path(std::string(path)).stem().string();
    if (!listed(stem))
        return stem;
    for (std::int64_t n = 1;; ++n) {
        std::string candidate = stem + "_" + std::to_string(n);
        if (!listed(candidate))
            return candidate;
    }
}

std::optional<std::string> NameInText(const std::vector<std::string>& lines)
{
    // The parser's own rule, on a script whose name no text can give.
    KaAnimScript probe;
    probe.Name = std::string(1, '\0');
    probe.LoadFromStrings(lines);
    if (probe.Name == std::string(1, '\0'))
        return std::nullopt;
    return probe.Name;
}

std::vector<std::string> ScriptFileLines(const std::optional<std::string>& name,
                                         const std::vector<std::string>& text)
{
    std::vector<std::string> lines;
    lines.reserve(text.size() + 1);
    if (name)
        lines.push_back("[" + *name + "]");
    lines.insert(lines.end(), text.begin(), text.end());
    return lines;
}

bool FitsCodePage(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        if (cp1251ToUtf8(utf8ToCp1251(line)) != line)
            return false;
    return true;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    return text;
}

} // namespace ra7::editor
