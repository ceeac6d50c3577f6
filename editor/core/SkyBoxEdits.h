#pragma once
// The SkyBox page's edits, each an undoable step on the editor's sky box
// state (the six face names and the enabled flag) followed by "Применить":
// the engine's sky box takes the GL names of the faces' textures at once,
// so it never draws a texture name that was given back.
//
// Textures are never deleted here: the same file may dress a material, a
// sprite, a particle system or another face, and undo must find the very
// texture again. An unused texture goes with the next scene load.

#include "core/SceneEditorState.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ra7::editor {

class EditorDocument;

// The faces as the page lists them, with the face each box sets.
struct SkyFaceBox {
    const char* caption; // "Сверху:"
    std::size_t face;    // index into SkyBoxFaces::names (front, back, right, left, up, down)
    const char* objectName;
};
inline constexpr SkyFaceBox kSkyFaceBoxes[kSkyFaceCount] = {
    {"Сверху:", 4, "SkyUp"},    {"Снизу:", 5, "SkyDown"},    {"Слева:", 3, "SkyLeft"},
    {"Справа:", 2, "SkyRight"}, {"Спереди:", 0, "SkyFront"}, {"Сзади:", 1, "SkyBack"}};

// The whole sky box as one step ("SkyBox" box, "Очистить"); nothing when it is unchanged.
void SetSkyBox(EditorDocument& document, const SkyBoxFaces& sky, std::string label);
void SetSkyBoxEnabled(EditorDocument& document, bool enabled);
// "Очистить": every face without a texture; the enabled flag stays as it is.
void ClearSkyBox(EditorDocument& document);
// A face took the chosen file: the texture is loaded first, and only when it
// loads does the face change (a missing file or a cancelled dialog leaves
// the face and its texture alone). Returns the console line: "Файл <name>
// добавлен", or the reason it was not.
struct FaceChoice {
    bool changed = false;
    std::string line;
};
FaceChoice ChooseSkyFace(EditorDocument& document, std::size_t face, std::string_view storedName);
// "Применить" as the page's button: the handles follow the boxes again (a
// texture loaded meanwhile now shows). Not a step: it changes nothing the
// scene keeps.
void ApplySkyBoxNow(const EditorDocument& document);

} // namespace ra7::editor
