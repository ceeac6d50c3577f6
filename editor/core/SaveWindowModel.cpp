#include "core/SaveWindowModel.h"

#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sprite.h"
#include "runtime/Errors.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>

namespace ra7::editor {

namespace {

std::vector<std::string>::iterator at(std::vector<std::string>& list, std::int32_t row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= list.size())
        throw Error("Array index out of bounds.");
    return list.begin() + row;
}

} // namespace

bool SaveKindOf(const KaObjArray& scene, const std::string& name, SaveKind& kind)
{
    const KaSceneObj* object = scene.FindByName(name);
    if (!object)
        return false;
    switch (object->Kind()) {
    case KaObjKind::Geometry:
        kind = SaveKind::Geometry;
        return true;
    case KaObjKind::Sprite:
        kind = SaveKind::Sprite;
        return true;
    case KaObjKind::Light:
        kind = SaveKind::Light;
        return true;
    case KaObjKind::Camera:
        kind = SaveKind::Camera;
        return true;
    case KaObjKind::ParSystem:
        kind = SaveKind::ParSystem;
        return true;
    case KaObjKind::Sound:
        break;
    }
    return false;
}

void SaveWindowModel::Display(const KaObjArray& scene)
{
    for (auto& list : kinds_)
        list.clear();
    for (std::int32_t i = 0; i < scene.Count(); ++i) {
        const KaSceneObj* object = scene.GetItem(i);
        SaveKind kind{};
        if (object && SaveKindOf(scene, object->Name(), kind))
            kinds_[static_cast<std::size_t>(kind)].push_back(object->Name());
    }
}

std::int32_t SaveWindowModel::Add(const KaObjArray& scene, SaveKind kind, std::int32_t row)
{
    auto& list = kinds_[static_cast<std::size_t>(kind)];
    const auto entry = at(list, row);
    const std::string name = *entry;
    addResourceLines(scene, name);
    list.erase(entry);
    // The kind lists are refilled with every object, so a name already to be
    // saved can come again: it stands once, and the file holds it once.
    if (std::find(toSave_.begin(), toSave_.end(), name) == toSave_.end())
        toSave_.push_back(name);
    if (list.empty())
        return -1;
    return std::min(row, static_cast<std::int32_t>(list.size()) - 1);
}

void SaveWindowModel::Remove(const KaObjArray& scene, std::int32_t row)
{
    const auto entry = at(toSave_, row);
    const std::string name = *entry;
    toSave_.erase(entry);
    SaveKind kind{};
    if (SaveKindOf(scene, name, kind))
        kinds_[static_cast<std::size_t>(kind)].push_back(name);
}

void SaveWindowModel::Reset(const KaObjArray& scene)
{
    toSave_.clear();
    Display(scene);
}

void SaveWindowModel::AddLine(const std::string& line)
{
    lines_.push_back(line);
}

void SaveWindowModel::RemoveLine(std::int32_t row)
{
    lines_.erase(at(lines_, row));
}

std::vector<std::int32_t> SaveWindowModel::SaveIndexes(const KaObjArray& scene) const
{
    // A scene file without objects would replace the chosen file with nothing.
    if (toSave_.empty())
        throw Error(kNothingToSave);
    std::vector<std::int32_t> indexes;
    for (const std::string& name : toSave_) {
        const std::int32_t index = scene.IndexOfName(name);
        if (index < 0)
            throw Error("Объект \"" + name + "\" больше не существует: сохранение отменено");
        if (std::find(indexes.begin(), indexes.end(), index) == indexes.end())
            indexes.push_back(index);
    }
    return indexes;
}

void SaveWindowModel::addLineOnce(const std::string& line)
{
    if (std::find(lines_.begin(), lines_.end(), line) == lines_.end())
        lines_.push_back(line);
}

void SaveWindowModel::addResourceLines(const KaObjArray& scene, const std::string& name)
{
    for (const std::string& line : ResourceLines(scene, name))
        addLineOnce(line);
}

std::vector<std::string> ResourceLines(const KaObjArray& scene, const std::string& name)
{
    std::vector<std::string> lines;
    const KaSceneObj* object = scene.FindByName(name);
    if (const auto* system = dynamic_cast<const KaParSystem*>(object)) {
        lines.push_back("addtex <" + system->TextureName + ">");
    } else if (const auto* geometry = dynamic_cast<const KaGeometry*>(object)) {
        lines.push_back("addmesh <" + geometry->MeshName + ">");
        for (const std::string* lod : {&geometry->MeshLod1, &geometry->MeshLod2})
            if (!lod->empty())
                lines.push_back("addmesh <" + *lod + ">");
    } else if (const auto* sprite = dynamic_cast<const KaSprite*>(object)) {
        for (const std::string* texture : {&sprite->Texture1, &sprite->Texture2, &sprite->Texture3})
            if (!texture->empty())
                lines.push_back("addtex <" + *texture + ">");
    }
    return lines;
}

ObjectInfo DescribeObject(const KaObjArray& scene, SaveKind kind, const std::string& name)
{
    static constexpr std::array<const char*, kSaveKindCount> kTitles = {
        "----Геометрия----", "----Спрайт----", "----Источник света----", "----Камера----",
        "----Система частиц----"};
    ObjectInfo info{name, kTitles[static_cast<std::size_t>(kind)], {}};
    if (const auto* sprite = dynamic_cast<const KaSprite*>(scene.FindByName(name))) {
        // The "a" before each digit is the Latin letter, as the window has always shown it.
        info.memo = {"Текстурa1: " + sprite->Texture1, "Текстурa2: " + sprite->Texture2,
                     "Текстурa3: " + sprite->Texture3};
    }
    return info;
}

} // namespace ra7::editor
