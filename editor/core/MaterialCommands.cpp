#include "core/MaterialCommands.h"

#include "core/EditorDocument.h"
#include "resources/Ka7MaterialList.h"
#include "runtime/Errors.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

namespace ra7::editor {

namespace {

KaMaterialList& materialList()
{
    if (!Materials)
        throw Error("Список материалов не создан");
    return *Materials;
}

KaGeometry* geometryNamed(const KaObjArray& scene, const std::string& name)
{
    KaSceneObj* object = scene.FindByName(name);
    return object && object->Kind() == KaObjKind::Geometry ? static_cast<KaGeometry*>(object) : nullptr;
}

void refuseTaken(const std::string& name)
{
    if (materialList().IndexOf(name) >= 0)
        throw Error("Материал <" + name + "> уже есть");
}

} // namespace

KaMaterial& MaterialNamed(const std::string& name)
{
    KaMaterial* material = Materials ? Materials->Find(name) : nullptr;
    if (!material)
        throw Error("Материал <" + name + "> не найден");
    return *material;
}

std::vector<std::string> GeometryUsing(const KaObjArray& scene, const std::string& materialName)
{
    std::vector<std::string> users;
    for (std::int32_t i = 0; i < scene.Count(); ++i) {
        const KaSceneObj* object = scene.GetItem(i);
        if (object && object->Kind() == KaObjKind::Geometry &&
            static_cast<const KaGeometry*>(object)->MaterialName == materialName)
            users.push_back(object->Name());
    }
    return users;
}

void RebuildRenderLists(EditorDocument& document)
{
    document.Scene().RebuildLists();
}

// --- adding ------------------------------------------------------------------------

AddMaterialCommand::AddMaterialCommand(EditorDocument& document, KaMaterial material)
    : document_(document), material_(std::move(material))
{
}

std::string AddMaterialCommand::Label() const
{
    return "Добавить материал " + material_.Name;
}

void AddMaterialCommand::Do()
{
    refuseTaken(material_.Name);
    auto copy = std::make_unique<KaMaterial>();
    copy->Assign(material_);
    materialList().Add(std::move(copy));
}

void AddMaterialCommand::Undo()
{
    const std::int32_t index = materialList().IndexOf(material_.Name);
    if (index >= 0)
        materialList().Take(index);
}

// --- deleting ----------------------------------------------------------------------

DeleteMaterialCommand::DeleteMaterialCommand(EditorDocument& document, std::string name)
    : document_(document), name_(std::move(name))
{
}

std::string DeleteMaterialCommand::Label() const
{
    return "Удалить материал " + name_;
}

void DeleteMaterialCommand::Do()
{
    MaterialNamed(name_);
    slot_ = materialList().IndexOf(name_);
    // Remembered before the render lists forget the names of a missing material.
    users_ = GeometryUsing(document_.Scene(), name_);
    held_ = materialList().Take(slot_);
    RebuildRenderLists(document_);
}

void DeleteMaterialCommand::Undo()
{
    materialList().InsertAt(slot_, std::move(held_));
    for (const std::string& user : users_)
        if (KaGeometry* geometry = geometryNamed(document_.Scene(), user))
            geometry->MaterialName = name_;
    RebuildRenderLists(document_);
}

// --- renaming ----------------------------------------------------------------------

RenameMaterialCommand::RenameMaterialCommand(EditorDocument& document, std::string oldName,
                                             std::string newName)
    : document_(document), oldName_(std::move(oldName)), newName_(std::move(newName))
{
}

std::string RenameMaterialCommand::Label() const
{
    return "Переименовать материал " + oldName_ + " в " + newName_;
}

void RenameMaterialCommand::Do()
{
    MaterialNamed(oldName_);
    refuseTaken(newName_);
    users_ = GeometryUsing(document_.Scene(), oldName_);
    rename(oldName_, newName_, users_);
}

void RenameMaterialCommand::Undo()
{
    rename(newName_, oldName_, users_);
}

void RenameMaterialCommand::rename(const std::string& from, const std::string& to,
                                   const std::vector<std::string>& users)
{
    MaterialNamed(from).Name = to;
    materialList().Changed = true;
    for (const std::string& user : users)
        if (KaGeometry* geometry = geometryNamed(document_.Scene(), user))
            geometry->MaterialName = to;
}

// --- loading -----------------------------------------------------------------------

LoadMaterialsCommand::LoadMaterialsCommand(EditorDocument& document, std::string fileName,
                                           std::vector<KaMaterial> materials)
    : document_(document), fileName_(std::move(fileName)), materials_(std::move(materials))
{
}

std::string LoadMaterialsCommand::Label() const
{
    return "Загрузить материалы " + fileName_;
}

void LoadMaterialsCommand::Do()
{
    added_.clear();
    KaMaterialList& list = materialList();
    // A library read twice adds nothing the second time but still counts as a change.
    list.Changed = true;
    for (const KaMaterial& material : materials_)
        if (list.AddCopy(material))
            added_.push_back(material.Name);
    RebuildRenderLists(document_);
}

void LoadMaterialsCommand::Undo()
{
    KaMaterialList& list = materialList();
    for (auto name = added_.rbegin(); name != added_.rend(); ++name)
        if (const std::int32_t index = list.IndexOf(*name); index >= 0)
            list.Take(index);
    RebuildRenderLists(document_);
}

// --- assigning ---------------------------------------------------------------------

AssignMaterialCommand::AssignMaterialCommand(EditorDocument& document, std::vector<std::string> geometry,
                                             std::string material)
    : document_(document), geometry_(std::move(geometry)), material_(std::move(material))
{
}

std::string AssignMaterialCommand::Label() const
{
    return "Назначить материал " + material_;
}

void AssignMaterialCommand::Do()
{
    MaterialNamed(material_);
    before_.clear();
    for (const std::string& name : geometry_)
        if (KaGeometry* geometry = geometryNamed(document_.Scene(), name)) {
            before_.emplace_back(name, geometry->MaterialName);
            geometry->MaterialName = material_;
        }
    if (before_.empty())
        throw Error("Среди выделенных объектов нет геометрии");
    RebuildRenderLists(document_);
}

void AssignMaterialCommand::Undo()
{
    for (const auto& [name, material] : before_)
        if (KaGeometry* geometry = geometryNamed(document_.Scene(), name))
            geometry->MaterialName = material;
    RebuildRenderLists(document_);
}

} // namespace ra7::editor
