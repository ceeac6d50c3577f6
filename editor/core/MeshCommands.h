#pragma once
// The Meshes page's edits of the mesh list as undoable steps, and the rules
// it checks first: who uses a mesh, which name a saved mesh takes.

#include "core/CommandStack.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ra7 {
class KaMesh;
class KaObjArray;
} // namespace ra7

namespace ra7::editor {

// Who draws with a mesh: the scene's geometry objects naming it at any of
// their three levels (in slot order), and whether the editor's own models
// (the gizmo arrows, the camera marker) do.
struct MeshUsers {
    std::vector<std::string> objects;
    bool editor = false;
};
MeshUsers UsersOfMesh(const KaObjArray& scene, const std::string& meshName,
                      const std::vector<std::string>& editorMeshes);

// The name "Сохранить" gives a mesh saved to the chosen file: relative to
// the working directory, lower case, ".mes" appended unless the name ends
// with it in any letter case.
std::string SavedMeshName(const std::string& chosenPath);
// The name "Загрузить" loads: relative, ".mes" appended unless present in
// any letter case ("rock.MES" stays "rock.MES"); the letter case is kept.
std::string LoadedMeshName(const std::string& chosenPath);

// Renames a mesh and every geometry field naming it (MeshName, MeshLod1,
// MeshLod2); the mesh list reports the change. Refused when another mesh
// has the new name. Undo puts back the old name in exactly the fields that
// had it.
class RenameMeshCommand : public EditorCommand {
public:
    RenameMeshCommand(std::string oldName, std::string newName);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    // The fields of one object that named the mesh: bit 0 MeshName, 1 MeshLod1, 2 MeshLod2.
    struct Field {
        std::string object;
        std::uint32_t levels = 0;
    };
    void rename(const std::string& from, const std::string& to, bool recordFields);

    std::string oldName_;
    std::string newName_;
    std::vector<Field> fields_;
};

// Loads a mesh file into the list (LoadMesh). Refused when the file is
// missing or a mesh of that name is loaded. Undo takes the mesh out (the
// last slot), redo puts the same mesh back.
class LoadMeshCommand : public EditorCommand {
public:
    explicit LoadMeshCommand(std::string fileName);
    ~LoadMeshCommand() override;
    std::string Label() const override;
    void Do() override;
    void Undo() override;
    // The name the loaded mesh carries (the one stored in its file).
    const std::string& MeshName() const { return meshName_; }

private:
    std::string fileName_;
    std::string meshName_;
    std::unique_ptr<KaMesh> held_;
};

// Deletes a mesh from the list (the last mesh moves into its slot); undo
// puts the same mesh, with its GPU objects, back in its slot.
class DeleteMeshCommand : public EditorCommand {
public:
    explicit DeleteMeshCommand(std::string name);
    ~DeleteMeshCommand() override;
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    std::string name_;
    std::int32_t slot_ = -1;
    std::unique_ptr<KaMesh> held_;
};

// Why a mesh cannot be loaded from `storedName`: "Файл <…> не найден" or
// "Меш <…> уже загружен"; nothing when it can.
std::optional<std::string> MeshLoadProblem(const std::string& storedName);

} // namespace ra7::editor
