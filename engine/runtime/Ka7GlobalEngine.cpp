#include "runtime/Ka7GlobalEngine.h"

#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7Log.h"
#include "runtime/PathResolver.h"
#include "runtime/TextUtil.h"

#include <array>
#include <filesystem>
#include <limits>
#include <variant>

namespace ra7 {

EngineSettings Settings;

namespace {

using IntField = std::int32_t EngineSettings::*;
using UIntField = std::uint32_t EngineSettings::*;
using BoolField = bool EngineSettings::*;
using RealField = float EngineSettings::*;

struct ConfigEntry {
    const char* key;
    std::variant<IntField, UIntField, BoolField, RealField> field;
};

// The file's lines, in file order.
const std::array<ConfigEntry, 21> kConfigEntries = {{
    {"SCREEN COLOR", &EngineSettings::ScreenColor},
    {"SCREEN REFRESH", &EngineSettings::ScreenRefresh},
    {"SCREEN ALPHA", &EngineSettings::ScreenAlpha},
    {"SCREEN DEPTH", &EngineSettings::ScreenDepth},
    {"SCREEN STENCIL", &EngineSettings::ScreenStencil},
    {"SCREEN WIDTH", &EngineSettings::ScreenWidth},
    {"SCREEN HEIGHT", &EngineSettings::ScreenHeight},
    {"VSYNC", &EngineSettings::VSync},
    {"ANISOTROPY LEVEL", &EngineSettings::AnisotropyLevel},
    {"ANTIALIASING LEVEL", &EngineSettings::AntialiasingLevel},
    {"BLOOM TEXTURE SIZE", &EngineSettings::BloomTextureSize},
    {"USE BLOOM BRIGHT PASS", &EngineSettings::UseBloomBrightPass},
    {"USE LOD", &EngineSettings::UseLod},
    {"USE FRUSTUM CULLING", &EngineSettings::UseFrustumCulling},
    {"USE MOTION BLUR", &EngineSettings::UseMotionBlur},
    {"MOTION BLUR MULT LEVEL", &EngineSettings::MotionBlurMultLevel},
    {"MOTION BLUR ACCUM LEVEL", &EngineSettings::MotionBlurAccumLevel},
    {"USE GLSL", &EngineSettings::UseGLSL},
    {"USE VBO", &EngineSettings::UseVBO},
    {"USE FBO", &EngineSettings::UseFBO},
    {"USE 2D", &EngineSettings::Use2D},
}};

// The value part of a line: everything after the first ": ", or, without
// one, the line less its first character.
std::string_view valueOf(std::string_view line)
{
    line = trimBlanks(line);
    const auto colon = line.find(": ");
    if (colon != std::string_view::npos)
        return line.substr(colon + 2);
    return line.empty() ? line : line.substr(1);
}

class LineApplier {
public:
    LineApplier(EngineSettings& settings, std::string_view fileName, std::size_t lineNumber, const char* key,
                std::string_view value)
        : settings_(settings), fileName_(fileName), lineNumber_(lineNumber), key_(key), value_(value)
    {
    }

    void operator()(IntField field) const
    {
        if (const auto number = parseInt32(value_))
            settings_.*field = *number;
    }

    void operator()(UIntField field) const
    {
        if (const auto number = parseInt64(value_)) {
            if (*number < 0)
                fail("must not be negative (" + std::string(value_) + ")");
            if (*number <= std::numeric_limits<std::uint32_t>::max())
                settings_.*field = static_cast<std::uint32_t>(*number);
        }
    }

    void operator()(BoolField field) const
    {
        if (value_.empty())
            fail("has no value (True or False expected)");
        std::string text(value_);
        if (text[0] >= 'a' && text[0] <= 'z')
            text[0] = static_cast<char>(text[0] - ('a' - 'A'));
        settings_.*field = text == "True";
    }

    void operator()(RealField field) const
    {
        if (const auto number = parseSingle(value_))
            settings_.*field = *number;
    }

private:
    [[noreturn]] void fail(const std::string& what) const
    {
        throw FileError(std::string(fileName_), FilePlace::line(lineNumber_), std::string(key_) + " " + what);
    }

    EngineSettings& settings_;
    std::string_view fileName_;
    std::size_t lineNumber_;
    const char* key_;
    std::string_view value_;
};

} // namespace

void ResetSettings()
{
    Settings = EngineSettings{};
}

void ApplyConfigLines(const std::vector<std::string>& lines, std::string_view fileName,
                      EngineSettings& settings)
{
    for (std::size_t i = 0; i < kConfigEntries.size(); ++i) {
        const std::string_view line = i < lines.size() ? std::string_view(lines[i]) : std::string_view();
        const ConfigEntry& entry = kConfigEntries[i];
        std::visit(LineApplier(settings, fileName, i + 1, entry.key, valueOf(line)), entry.field);
        if (entry.field == decltype(entry.field)(&EngineSettings::AnisotropyLevel))
            settings.UseAnisotropy = settings.AnisotropyLevel > 1;
        if (entry.field == decltype(entry.field)(&EngineSettings::BloomTextureSize))
            settings.UseBloom = settings.BloomTextureSize > 0;
    }
}

std::vector<std::string> ConfigLines(const EngineSettings& settings)
{
    struct Formatter {
        const EngineSettings& s;
        std::string operator()(IntField f) const { return std::to_string(s.*f); }
        std::string operator()(UIntField f) const { return std::to_string(s.*f); }
        std::string operator()(BoolField f) const { return s.*f ? "True" : "False"; }
        std::string operator()(RealField f) const { return formatSingle(s.*f); }
    };
    std::vector<std::string> lines;
    lines.reserve(kConfigEntries.size());
    for (const ConfigEntry& entry : kConfigEntries)
        lines.push_back(std::string(entry.key) + ": " + std::visit(Formatter{settings}, entry.field));
    return lines;
}

void LoadConfig(std::string_view fileName)
{
    std::error_code ec;
    if (!std::filesystem::exists(resolvePath(fileName), ec)) {
        LogLine("! Не найден файл конфигурации " + std::string(fileName));
        SaveConfig(kConfigFileName);
        return;
    }
    EngineSettings loaded = Settings;
    ApplyConfigLines(readTextLines(fileName), fileName, loaded);
    Settings = loaded;
}

void SaveConfig(std::string_view fileName)
{
    writeTextLines(fileName, ConfigLines(Settings));
}

} // namespace ra7
