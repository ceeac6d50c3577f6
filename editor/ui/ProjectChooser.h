#pragma once
// The editor runs in a project folder (data/shaders, the helper scene
// data/arrow/editorData.kgf, config.txt and log.txt). Started anywhere else
// it does not write there: it finds the project a scene file lies in, or
// asks the user to create a project, open one, or open the sample.

#include <filesystem>
#include <optional>
#include <string>

namespace ra7::editor {

class DialogService;

// Where the editor's data and the user's copy of the sample lie.
struct ProjectPlaces {
    // The engine data this editor was built or installed with (FindEngineData).
    std::optional<std::filesystem::path> engineData;
    // Where an installed (read-only) sample is copied before it is opened,
    // e.g. ~/.local/share/ra7davevi/sample. The build tree's sample opens in place.
    std::filesystem::path sampleCopy;
};

// What the start in a project came to.
struct ProjectStart {
    bool ready = false; // the working directory is now a project folder
    std::string
        scene; // the scene to load: the one given, made absolute when the folder changed, or the sample's
    std::string problem; // why the working directory was not a project (for unattended runs)
};

// When the working directory is not a project for the editor and `scene`
// lies in one, enters that one (the scene's path made absolute first).
// Otherwise leaves the working directory as it is. `problem` tells what the
// working directory lacks when it is still not a project.
ProjectStart FindStartProject(const std::string& scene);

// Asks (through `dialogs`) until the working directory is a project or the
// user quits: "Создать проект..." makes one in a chosen folder, "Открыть
// папку проекта..." enters a chosen project folder (anything else is refused
// with the reason), "Открыть пример" enters the sample and returns its scene,
// "Выход" gives up (ready stays false). Every failure is shown to the user.
ProjectStart AskForProject(DialogService& dialogs, const ProjectPlaces& places, const std::string& problem,
                           const std::string& scene);

// The text for an unattended run outside a project: what is missing and how
// to make a project.
std::string NotAProjectText(const std::string& problem);

} // namespace ra7::editor
