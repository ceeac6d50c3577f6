#pragma once
// What the editor keeps of a scene that the scene file has no place for:
// the sky box's faces, the lens-flare set that was loaded, and where the
// editor's camera stood. It travels in a small JSON file beside the scene
// (`level.kgf.editor`), written on save and read on load.

#include "math/Ka7Transform.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ra7::editor {

// The six faces in the order the SkyBox page lists them in the engine:
// front (z = +1), back, right (x = −1), left, up, down.
inline constexpr std::size_t kSkyFaceCount = 6;

struct SkyBoxFaces {
    bool enabled = false;
    std::array<std::string, kSkyFaceCount> names; // stored texture names, "" for none
    bool operator==(const SkyBoxFaces&) const = default;
};

struct SceneEditorState {
    SkyBoxFaces sky;
    std::string flareFile;                  // the KLS file loaded on the Secondaries page
    std::optional<KaTransformation> camera; // the editor's camera
    // For a backup only: the camera the view looked through and the
    // editor's own objects, so that a recovered scene is the one left.
    std::string activeCamera;
    std::vector<std::string> editorObjects;
};

// "Применить": the engine's sky box takes the GL names of the faces found in
// the texture list (0 for a face without one) and the enabled flag.
void ApplySkyBox(const SkyBoxFaces& sky);

// The JSON text of the state, and back. Reading refuses text that is not
// such a file with an Error saying what is wrong.
std::string SidecarText(const SceneEditorState& state);
SceneEditorState ParseSidecar(const std::string& text);

// The sidecar of a scene file ("level.kgf" → "level.kgf.editor").
std::filesystem::path SidecarPath(const std::filesystem::path& scene);
// Written atomically: a failed write leaves the old sidecar.
void WriteSidecar(const std::filesystem::path& path, const SceneEditorState& state);
// The sidecar's state; nothing when there is none or it cannot be read,
// with the reason in `why` ("" when there is simply no file).
std::optional<SceneEditorState> ReadSidecar(const std::filesystem::path& path, std::string& why);

} // namespace ra7::editor
