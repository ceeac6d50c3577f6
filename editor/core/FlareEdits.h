#pragma once
// The Secondaries page's edits of the lens-flare list, each an undoable
// step: adding, renaming and deleting flares, adding, changing and deleting
// lenses, the distance, loading a KLS file, and giving a sprite its flare.
// A step keeps the whole flare list (it holds a few flares of ten lenses)
// and the sprites' flare names before and after, so undo puts back exactly
// what was there, order included.

#include "core/PageRules.h"
#include "effects/Ka7LensFlare.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ra7::editor {

class EditorDocument;

// The lens bars: colour 0..100 (scale 100), position 1..200 and size
// 1..700 (scale 10).
inline constexpr ScaledBar kLensColourBar{100, 0, 100};
inline constexpr ScaledBar kLensPositionBar{10, 1, 200};
inline constexpr ScaledBar kLensSizeBar{10, 1, 700};

// Everything the flare edits change.
struct FlareSetState {
    std::vector<KaLensFlare> flares;
    std::string flareFile; // the KLS file the scene's flares come from
    // Every sprite's flare name, by sprite name.
    std::vector<std::pair<std::string, std::string>> spriteFlares;
};
FlareSetState CaptureFlares(const EditorDocument& document);
// Puts the state into the engine: the flare list, the sprites' links and
// the editor's flare file. A sprite deleted since keeps nothing.
void RestoreFlares(EditorDocument& document, const FlareSetState& state);

// The name offered for a new flare: the default one made unique.
std::string NewFlareName();

// --- flares --------------------------------------------------------------------------
// Each returns the reason for a refusal (shown to the user), or nothing
// when the step was made.

// Adds a flare with default lenses under the answered name; a name that
// cannot be kept or that another flare has is refused.
std::optional<std::string> AddFlare(EditorDocument& document, std::string_view name);
// Renames a flare; every sprite that names it follows.
std::optional<std::string> RenameFlare(EditorDocument& document, const std::string& oldName,
                                       std::string_view newName);
// Deletes the flares; sprites keep the name (a flare loaded later under it
// shows again).
std::optional<std::string> DeleteFlares(EditorDocument& document, const std::vector<std::string>& names);
// The flare's distance from typed text: a finite number above 0 (the flare's
// fading divides by it); anything else keeps the value.
std::optional<std::string> SetFlareDistance(EditorDocument& document, const std::string& flare,
                                            std::string_view text);
// The sprite shows the flare: its FlareName.
std::optional<std::string> AssignFlareToSprite(EditorDocument& document, const std::string& sprite,
                                               const std::string& flare);

// --- lenses --------------------------------------------------------------------------
// A lens with default values and the texture (which must be loaded already,
// or "" for none). A flare holds at most 10 lenses: the eleventh is refused.
std::optional<std::string> AddLens(EditorDocument& document, const std::string& flare,
                                   const std::string& textureName);
std::optional<std::string> DeleteLens(EditorDocument& document, const std::string& flare, std::int32_t index);
// Writes one lens; moves of one bar (same `field`) merge into one step.
std::optional<std::string> SetLens(EditorDocument& document, const std::string& flare, std::int32_t index,
                                   const KaLens& value, std::string_view field);
// The lens's texture file (already loaded).
std::optional<std::string> SetLensTexture(EditorDocument& document, const std::string& flare,
                                          std::int32_t index, const std::string& textureName);

// --- KLS files -----------------------------------------------------------------------
// Writes the flares at `indexes` (list order) to the stored name, replacing
// the file only once it is written whole. No flare chosen is refused: an
// empty file would replace the one chosen.
std::optional<std::string> SaveFlares(const std::vector<std::int32_t>& indexes, std::string_view storedName);
// Adds every flare of the file under unique names as one step and makes the
// file the scene's flare file. A missing or damaged file changes nothing.
std::optional<std::string> LoadFlares(EditorDocument& document, std::string_view storedName);

// A texture file chosen for a lens or a sky face, loaded into the texture
// list: nothing when it is there, or the "Файл <name> не найден" line (or
// the reason the image cannot be read).
std::optional<std::string> LoadPageTexture(std::string_view storedName);

} // namespace ra7::editor
