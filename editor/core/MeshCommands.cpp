#include "core/MeshCommands.h"

#include "core/ObjectCommands.h"
#include "core/PageRules.h"
#include "resources/Ka7MeshList.h"
#include "runtime/Errors.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>
#include <array>

namespace ra7::editor {

namespace {

std::array<std::string*, 3> levelsOf(KaGeometry& geometry)
{
    return {&geometry.MeshName, &geometry.MeshLod1, &geometry.MeshLod2};
}

KaMesh& meshNamed(const std::string& name)
{
    KaMesh* mesh = Meshes->Find(name);
    if (!mesh)
        throw Error("Меш <" + name + "> не найден");
    return *mesh;
}

} // namespace

MeshUsers UsersOfMesh(const KaObjArray& scene, const std::string& meshName,
                      const std::vector<std::string>& editorMeshes)
{
    MeshUsers users;
    for (std::int32_t i = 0; i < scene.Count(); ++i) {
        auto* geometry = dynamic_cast<KaGeometry*>(scene.GetItem(i));
        if (!geometry)
            continue;
        const auto levels = levelsOf(*geometry);
        if (std::any_of(levels.begin(), levels.end(),
                        [&](const std::string* level) { return *level == meshName; }))
            users.objects.push_back(geometry->Name());
    }
    users.editor = std::find(editorMeshes.begin(), editorMeshes.end(), meshName) != editorMeshes.end();
    return users;
}

std::string SavedMeshName(const std::string& chosenPath)
{
    return StoredFileName(chosenPath, {true, ".mes"});
}

std::string LoadedMeshName(const std::string& chosenPath)
{
    return StoredFileName(chosenPath, {false, ".mes"});
}

std::optional<std::string> MeshLoadProblem(const std::string& storedName)
{
    if (Meshes->IndexOf(storedName) >= 0)
        return "Меш <" + storedName + "> уже загружен";
    if (!StoredFileExists(storedName))
        return FileMissingLine(storedName);
    return std::nullopt;
}

// --- RenameMeshCommand ---------------------------------------------------------

RenameMeshCommand::RenameMeshCommand(std::string oldName, std::string newName)
    : oldName_(std::move(oldName)), newName_(std::move(newName))
{
}

std::string RenameMeshCommand::Label() const
{
    return "Переименовать меш " + oldName_ + " в " + newName_;
}

void RenameMeshCommand::Do()
{
    rename(oldName_, newName_, true);
}

void RenameMeshCommand::Undo()
{
    rename(newName_, oldName_, false);
}

void RenameMeshCommand::rename(const std::string& from, const std::string& to, bool recordFields)
{
    KaMesh& mesh = meshNamed(from);
    if (from != to && Meshes->IndexOf(to) >= 0)
        throw Error("Имя <" + to + "> уже занято другим мешем");
    // Every field is found before anything changes, so a missing object
    // stops the step with nothing done.
    std::vector<std::pair<KaGeometry*, std::uint32_t>> changes;
    if (recordFields) {
        for (std::int32_t i = 0; i < SceneObjects->Count(); ++i) {
            auto* geometry = dynamic_cast<KaGeometry*>(SceneObjects->GetItem(i));
            if (!geometry)
                continue;
            std::uint32_t levels = 0;
            const auto fields = levelsOf(*geometry);
            for (std::size_t level = 0; level < fields.size(); ++level)
                if (*fields[level] == from)
                    levels |= 1u << level;
            if (levels != 0)
                changes.emplace_back(geometry, levels);
        }
        fields_.clear();
        for (const auto& [geometry, levels] : changes)
            fields_.push_back({geometry->Name(), levels});
    } else {
        for (const Field& field : fields_) {
            auto* geometry = dynamic_cast<KaGeometry*>(&ObjectNamed(*SceneObjects, field.object));
            if (!geometry)
                throw Error("Объект <" + field.object + "> больше не геометрия");
            changes.emplace_back(geometry, field.levels);
        }
    }
    mesh.Name = to;
    for (const auto& [geometry, levels] : changes) {
        const auto fields = levelsOf(*geometry);
        for (std::size_t level = 0; level < fields.size(); ++level)
            if ((levels & (1u << level)) != 0)
                *fields[level] = to;
    }
    Meshes->Changed = true;
}

// --- LoadMeshCommand -----------------------------------------------------------

LoadMeshCommand::LoadMeshCommand(std::string fileName) : fileName_(std::move(fileName))
{
}

LoadMeshCommand::~LoadMeshCommand() = default;

std::string LoadMeshCommand::Label() const
{
    return "Загрузить меш " + fileName_;
}

void LoadMeshCommand::Do()
{
    if (held_) {
        if (Meshes->IndexOf(meshName_) >= 0)
            throw Error("Меш <" + meshName_ + "> уже загружен");
        Meshes->InsertAt(Meshes->Count(), std::move(held_));
        return;
    }
    if (const auto problem = MeshLoadProblem(fileName_))
        throw Error(*problem);
    const KaMesh* loaded = Meshes->LoadMesh(fileName_);
    if (!loaded) // the file names itself as a mesh that is loaded already
        throw Error("Меш из файла <" + fileName_ + "> уже загружен");
    meshName_ = loaded->Name;
}

void LoadMeshCommand::Undo()
{
    meshNamed(meshName_);
    held_ = Meshes->Take(Meshes->IndexOf(meshName_));
}

// --- DeleteMeshCommand ---------------------------------------------------------

DeleteMeshCommand::DeleteMeshCommand(std::string name) : name_(std::move(name))
{
}

DeleteMeshCommand::~DeleteMeshCommand() = default;

std::string DeleteMeshCommand::Label() const
{
    return "Удалить меш " + name_;
}

void DeleteMeshCommand::Do()
{
    meshNamed(name_);
    slot_ = Meshes->IndexOf(name_);
    held_ = Meshes->Take(slot_);
}

void DeleteMeshCommand::Undo()
{
    if (Meshes->IndexOf(name_) >= 0)
        throw Error("Меш <" + name_ + "> уже есть в списке");
    Meshes->InsertAt(slot_, std::move(held_));
}

} // namespace ra7::editor
