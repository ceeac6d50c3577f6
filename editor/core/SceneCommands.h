#pragma once
// The File menu's work once the user has chosen a file: loading a scene into
// the open one and saving the chosen objects with their command lines. Both
// report on the console as the editor always has.

#include <string>
#include <utility>
#include <vector>

namespace ra7 {
class KaObjArray;
}

namespace ra7::editor {

class SaveWindowModel;

// The editor's own camera and light, made at start-up.
inline constexpr const char* kEditorCameraName = "cam1";
inline constexpr const char* kEditorLightName = "lig1";

// Logs "Загружаю...", merges the file into SceneObjects, marks the scene
// changed and logs "Загружено успешно за " + the time; returns that time text.
std::string LoadScene(const std::string& path);

// Before a load: each of the editor's own objects (`editorNames`) whose name
// the file's objects also carry takes the first name free both in the scene
// and in the file ("cam1" → "cam1_1"), links and the active camera following.
// So the file's objects keep their names: saving them again writes the names
// the file had, and its scripts move its own objects. Returns the renames
// (old, new). A file that cannot be read makes no renames.
std::vector<std::pair<std::string, std::string>>
MakeWayForLoadedNames(KaObjArray& scene, const std::string& path,
                      const std::vector<std::string>& editorNames);

// The save target for a chosen path (relative, lower case, ".kgf").
// Logs "--Cохраняю..." (a Latin C) and returns the name.
std::string BeginSave(const std::string& chosenPath);
// Writes the names to save and the command lines of `model` into `fileName`
// and logs "--Cохранено успешно...". A name that no longer names an object
// stops the save before anything is written.
void FinishSave(const std::string& fileName, const SaveWindowModel& model);

} // namespace ra7::editor
