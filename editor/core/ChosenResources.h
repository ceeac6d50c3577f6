#pragma once
// Files chosen with a "..." button of the Properties page: the stored name,
// the load into the engine's list, and what the object's field then gets.
// A file that exists but cannot be read is a failure with the reason, never
// "добавлен".

#include "core/CommandStack.h"

#include <memory>
#include <string>
#include <string_view>

namespace ra7 {
class KaObjArray;
}

namespace ra7::editor {

struct ChosenResource {
    enum class Outcome { Loaded, Missing, Failed };
    Outcome outcome = Outcome::Missing;
    std::string storedName; // as the dialog's path is stored (lower case for textures and meshes)
    std::string fieldValue; // what the object's field gets (Loaded and Missing)
    std::string error;      // why the load failed (Failed)

    // The console line: "Файл <…> добавлен", "Файл <…> не найден", or "! " and the error.
    std::string ConsoleLine() const;
};

// Loads the chosen image into the texture list (the GL context must be
// current). A missing file still names the field, so that the scene shows
// the texture as missing.
ChosenResource LoadChosenTexture(std::string_view chosenPath);

// Loads the chosen mesh file into the mesh list, unless a mesh of the name
// stored in the file is already there. The field gets the mesh's own name,
// which a converted mesh keeps in its original letter case while the file
// name is stored in lower case. Nothing is taken out of the list: other
// objects and levels of detail may use the mesh the box named before.
ChosenResource LoadChosenMesh(std::string_view chosenPath);

// The name a mesh file gives its mesh; the errors of a damaged file pass on.
std::string StoredMeshName(std::string_view fileName);

// Gives the sound source the sound file (it loads into the sound list as
// the source takes it); undo gives back the sound it had, or none. The
// errors of loading pass on and change nothing.
std::unique_ptr<EditorCommand> SoundFileEdit(KaObjArray& scene, const std::string& object,
                                             std::string fileName);

} // namespace ra7::editor
