#include "core/ConversionCommands.h"

#include "ConvertToScene.h"
#include "SceneTangentSpace.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Errors.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>

namespace ra7::editor {

namespace {

template <class List>
std::int32_t indexIn(const List& list, const std::string& name, const char* what)
{
    const std::int32_t index = list.IndexOf(name);
    if (index < 0)
        throw Error(std::string(what) + " <" + name + "> не найден");
    return index;
}

} // namespace

AddConvertedCommand::AddConvertedCommand(std::string label, std::function<ConversionResult()> add)
    : label_(std::move(label)), add_(std::move(add))
{
}

AddConvertedCommand::~AddConvertedCommand() = default;

void AddConvertedCommand::Do()
{
    if (added_) {
        redo();
        return;
    }
    ConversionResult result = add_();
    add_ = nullptr; // what it holds (the model, the prepared meshes) is not needed again
    added_ = true;
    objectNames_ = std::move(result.ObjectNames);
    meshNames_ = std::move(result.MeshNames);
    materialNames_ = std::move(result.MaterialNames);
    textureNames_ = std::move(result.TextureNames);
    for (auto& mesh : result.ReplacedMeshes) {
        const std::string name = mesh->Name;
        replaced_[name] = std::move(mesh);
    }
}

void AddConvertedCommand::Undo()
{
    // Everything must still be there before anything is taken out.
    for (const std::string& name : objectNames_)
        if (!SceneObjects->FindByName(name))
            throw Error("Объект <" + name + "> не найден");
    for (const std::string& name : materialNames_)
        indexIn(*Materials, name, "Материал");
    for (const std::string& name : meshNames_)
        indexIn(*Meshes, name, "Меш");
    for (const std::string& name : textureNames_)
        indexIn(*Textures, name, "Текстура");
    // Everything was appended (or replaced in place), so taking it out in
    // reverse order gives every list back exactly as it was.
    for (auto name = objectNames_.rbegin(); name != objectNames_.rend(); ++name) {
        objects_.push_back(SceneObjects->Extract(*name));
    }
    for (auto name = materialNames_.rbegin(); name != materialNames_.rend(); ++name)
        materials_.push_back(Materials->Take(indexIn(*Materials, *name, "Материал")));
    for (auto name = meshNames_.rbegin(); name != meshNames_.rend(); ++name) {
        const std::int32_t index = indexIn(*Meshes, *name, "Меш");
        meshes_.push_back(Meshes->Take(index));
        if (auto old = replaced_.find(*name); old != replaced_.end()) {
            Meshes->InsertAt(index, std::move(old->second));
            replaced_.erase(old);
        }
    }
    for (auto name = textureNames_.rbegin(); name != textureNames_.rend(); ++name)
        textures_.push_back(Textures->Take(indexIn(*Textures, *name, "Текстура")));
    // Taken in reverse: the redo puts them back in the order they came.
    std::reverse(objects_.begin(), objects_.end());
    std::reverse(materials_.begin(), materials_.end());
    std::reverse(meshes_.begin(), meshes_.end());
    std::reverse(textures_.begin(), textures_.end());
}

void AddConvertedCommand::redo()
{
    for (auto& texture : textures_)
        Textures->InsertAt(Textures->Count(), std::move(texture));
    for (auto& mesh : meshes_) {
        const std::string name = mesh->Name;
        const std::int32_t index = Meshes->IndexOf(name);
        if (index >= 0) {
            replaced_[name] = Meshes->Take(index);
            Meshes->InsertAt(index, std::move(mesh));
        } else {
            Meshes->InsertAt(Meshes->Count(), std::move(mesh));
        }
    }
    for (auto& material : materials_)
        Materials->InsertAt(Materials->Count(), std::move(material));
    for (auto& object : objects_)
        SceneObjects->Add(std::move(object));
    textures_.clear();
    meshes_.clear();
    materials_.clear();
    objects_.clear();
}

TangentSpaceCommand::TangentSpaceCommand(std::string label, std::unique_ptr<TangentSpaceJob> job)
    : label_(std::move(label)), job_(std::move(job))
{
    // The list of meshes to write served the computation; it points into
    // the mesh list and must not outlive this moment.
    job_->ToSave.clear();
}

TangentSpaceCommand::~TangentSpaceCommand() = default;

void TangentSpaceCommand::Do()
{
    SwapTangentArrays(*job_);
}

void TangentSpaceCommand::Undo()
{
    SwapTangentArrays(*job_);
}

} // namespace ra7::editor
