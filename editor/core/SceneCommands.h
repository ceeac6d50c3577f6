#pragma once
// The File menu's work once the user has chosen a file: loading a scene into
// the open one and saving the chosen objects with their command lines. Both
// report on the console as the editor always has.

#include <string>

namespace ra7::editor {

class SaveWindowModel;

// Logs "Загружаю...", merges the file into SceneObjects, marks the scene
// changed and logs "Загружено успешно за " + the time; returns that time text.
std::string LoadScene(const std::string& path);

// The save target for a chosen path (relative, lower case, ".kgf").
// Logs "--Cохраняю..." (a Latin C) and returns the name.
std::string BeginSave(const std::string& chosenPath);
// Writes the names to save and the command lines of `model` into `fileName`
// and logs "--Cохранено успешно...". A name that no longer names an object
// stops the save before anything is written.
void FinishSave(const std::string& fileName, const SaveWindowModel& model);

} // namespace ra7::editor
