#include "core/EditorSettings.h"

#include "runtime/FileIO.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace ra7::editor {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

fs::path xdgFolder(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    // The XDG rules ignore a relative value.
    if (value && *value && fs::path(value).is_absolute())
        return fs::path(value) / "ra7editor";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / fallback / "ra7editor";
}

} // namespace

void EditorSettings::AddRecent(const std::string& path)
{
    RemoveRecent(path);
    recentFiles.insert(recentFiles.begin(), path);
    if (recentFiles.size() > kRecentFileCount)
        recentFiles.resize(kRecentFileCount);
}

void EditorSettings::RemoveRecent(const std::string& path)
{
    std::erase(recentFiles, path);
}

fs::path ConfigFolder()
{
    return xdgFolder("XDG_CONFIG_HOME", ".config");
}

fs::path DataFolder()
{
    return xdgFolder("XDG_DATA_HOME", ".local/share");
}

fs::path SettingsFile()
{
    return ConfigFolder() / "settings.json";
}

EditorSettings LoadSettings(const fs::path& file, std::string& why)
{
    why.clear();
    EditorSettings settings;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return settings;
    std::ostringstream text;
    text << in.rdbuf();
    const json parsed = json::parse(text.str(), nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        why = file.string() + ": not a JSON object; the defaults are used";
        return settings;
    }
    if (const auto minutes = parsed.find("autosaveMinutes"); minutes != parsed.end()) {
        if (minutes->is_number() && std::isfinite(minutes->get<double>()) && minutes->get<double>() >= 0)
            settings.autosaveMinutes = minutes->get<double>();
        else
            why = file.string() + ": autosaveMinutes must be a number of minutes, 0 or more";
    }
    if (const auto recent = parsed.find("recentFiles"); recent != parsed.end() && recent->is_array())
        for (auto entry = recent->rbegin(); entry != recent->rend(); ++entry)
            if (entry->is_string())
                settings.AddRecent(entry->get<std::string>());
    return settings;
}

void SaveSettings(const fs::path& file, const EditorSettings& settings)
{
    fs::create_directories(file.parent_path());
    const json text = {{"autosaveMinutes", settings.autosaveMinutes}, {"recentFiles", settings.recentFiles}};
    AtomicFileWriter out(file, file.string());
    out.write(text.dump(2) + "\n");
    out.commit();
}

} // namespace ra7::editor
