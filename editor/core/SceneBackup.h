#pragma once
// Autosave and recovery: a backup of the whole scene beside its file
// ("level.kgf" → "level.kgf.autosave", with its materials in
// "level.kgf.autosave.kmt" and the editor's state in "level.kgf.autosave.editor"),
// or, for a scene never saved, in the user's data folder. The user's own
// files are never touched; a save or a clean exit removes the backup.

#include "core/SceneEditorState.h"

#include <filesystem>
#include <string>
#include <vector>

namespace ra7::editor {

class EditorDocument;
class EditorSession;

struct BackupFiles {
    std::filesystem::path scene;   // the KGF file
    std::string kmtName;           // as the backup's "addmat" line names it
    std::filesystem::path sidecar; // the editor's state
};

// Where the backup of `sceneFile` goes ("" for a scene never saved).
BackupFiles BackupFor(const std::string& sceneFile);

// The editor's state of the document now: the sky box and flare file it
// keeps, and the active camera's placement.
SceneEditorState CurrentEditorState(const EditorDocument& document);

// Writes every object of the scene, the command lines loading it needs
// (`extraLines` first, then each object's resource lines, each once) and
// its materials, then the editor's state with the active camera and the
// editor's own objects. Every file is written atomically.
void WriteBackup(const EditorDocument& document, const std::vector<std::string>& extraLines);

// Whether a backup of `sceneFile` exists that is newer than the scene (or
// the scene file does not exist).
bool BackupIsNewer(const std::string& sceneFile);
void RemoveBackup(const std::string& sceneFile);

// Gives the editor's state to a scene just loaded: loads the sky box's
// textures and applies them, loads the flare file, puts the view's camera
// where it stood. With `backup` also the active camera and the editor's own
// objects. What cannot be loaded is logged with "! ".
void ApplyEditorState(EditorDocument& document, const SceneEditorState& state, bool backup);

// Replaces the scene with the backup of `sceneFile`: everything goes as for
// "Новая сцена" (without the default camera and light, which the backup
// holds), the backup is loaded and its state applied. The document keeps
// `sceneFile` as its name and is marked modified.
void RecoverBackup(EditorSession& session, EditorDocument& document, const std::string& sceneFile);

} // namespace ra7::editor
