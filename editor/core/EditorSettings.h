#pragma once
// The editor's own settings, kept per user apart from the engine's
// config.txt (whose 21 lines are fixed): the autosave interval and the
// recently opened scenes. They live in $XDG_CONFIG_HOME/ra7editor/settings.json.

#include <filesystem>
#include <string>
#include <vector>

namespace ra7::editor {

inline constexpr std::size_t kRecentFileCount = 10;

struct EditorSettings {
    // Minutes between autosaves while the scene has unsaved changes; 0 turns them off.
    double autosaveMinutes = 5;
    // Newest first, at most kRecentFileCount, absolute paths.
    std::vector<std::string> recentFiles;

    // Puts `path` first (once) and keeps the newest ten.
    void AddRecent(const std::string& path);
    void RemoveRecent(const std::string& path);
};

// $XDG_CONFIG_HOME (or ~/.config) and $XDG_DATA_HOME (or ~/.local/share),
// each with the editor's own folder "ra7editor".
std::filesystem::path ConfigFolder();
std::filesystem::path DataFolder();

// Reads the settings; a missing or damaged file gives the defaults (a damaged
// one with the reason in `why`).
EditorSettings LoadSettings(const std::filesystem::path& file, std::string& why);
// Written atomically; the folder is made when missing.
void SaveSettings(const std::filesystem::path& file, const EditorSettings& settings);
std::filesystem::path SettingsFile();

} // namespace ra7::editor
