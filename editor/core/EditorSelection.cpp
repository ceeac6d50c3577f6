#include "core/EditorSelection.h"

#include "effects/Ka7ParSystem.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>
#include <unordered_set>

namespace ra7::editor {

namespace {

const std::string kNothing;

std::vector<std::string> withoutDuplicates(std::vector<std::string> names)
{
    std::unordered_set<std::string> seen;
    std::erase_if(names, [&](const std::string& name) { return !seen.insert(name).second; });
    return names;
}

ResolvedTarget resolveVolume(KaSceneObj& object, std::int32_t volume)
{
    auto* geometry = dynamic_cast<KaGeometry*>(&object);
    if (!geometry || !geometry->Bounds || volume < 0 || volume > geometry->Bounds->Count())
        return {};
    KaBoundingObj* shape = volume == 0 ? geometry->Bounds->Main.get() : &geometry->Bounds->Item(volume - 1);
    if (!shape)
        return {};
    return {&object, &shape->LocalTrans, &shape->WorldTrans, shape};
}

} // namespace

const std::string& EditorSelection::SelectedName() const
{
    return names_.empty() ? kNothing : names_.front();
}

bool EditorSelection::Contains(std::string_view name) const
{
    return std::find(names_.begin(), names_.end(), name) != names_.end();
}

bool EditorSelection::Set(std::vector<std::string> names)
{
    names = withoutDuplicates(std::move(names));
    if (names == names_)
        return false;
    const bool primaryChanged = SelectedName() != (names.empty() ? kNothing : names.front());
    names_ = std::move(names);
    if (primaryChanged)
        targetSet_ = false;
    return true;
}

bool EditorSelection::Follow(const std::vector<std::string>& selected)
{
    const std::unordered_set<std::string> now(selected.begin(), selected.end());
    std::vector<std::string> ordered;
    ordered.reserve(selected.size());
    for (const std::string& name : names_)
        if (now.count(name) != 0)
            ordered.push_back(name);
    const std::unordered_set<std::string> kept(ordered.begin(), ordered.end());
    for (const std::string& name : selected)
        if (kept.count(name) == 0)
            ordered.push_back(name);
    return Set(std::move(ordered));
}

void EditorSelection::Rename(std::string_view oldName, const std::string& newName)
{
    for (std::string& name : names_)
        if (name == oldName)
            name = newName;
    names_ = withoutDuplicates(std::move(names_));
    if (target_.objectName == oldName)
        target_.objectName = newName;
}

bool EditorSelection::DropMissing(const KaObjArray& scene)
{
    const std::string primary = SelectedName();
    const std::size_t before = names_.size();
    std::erase_if(names_, [&](const std::string& name) { return scene.FindByName(name) == nullptr; });
    if (SelectedName() != primary)
        targetSet_ = false;
    return names_.size() != before;
}

GizmoTarget EditorSelection::Target() const
{
    if (targetSet_ && target_.objectName == SelectedName())
        return target_;
    return {GizmoTarget::Kind::Object, SelectedName(), 0};
}

void EditorSelection::SetTarget(GizmoTarget target)
{
    target_ = std::move(target);
    targetSet_ = true;
}

ResolvedTarget EditorSelection::Resolve(const KaObjArray& scene) const
{
    return ResolveTarget(scene, Target());
}

ResolvedTarget ResolveTarget(const KaObjArray& scene, const GizmoTarget& target)
{
    if (target.objectName.empty())
        return {};
    KaSceneObj* object = scene.FindByName(target.objectName);
    if (!object || !object->Trans)
        return {};
    switch (target.kind) {
    case GizmoTarget::Kind::Object: {
        // A child whose parent is gone is placed by nobody: its own Trans is what lasts.
        const bool child = !object->ParentName.empty() && object->LocalTrans &&
                           scene.FindByName(object->ParentName) != nullptr;
        return {object, child ? object->LocalTrans.get() : object->Trans.get(), object->Trans.get()};
    }
    case GizmoTarget::Kind::BoundsVolume:
        return resolveVolume(*object, target.volume);
    case GizmoTarget::Kind::ParticleBox: {
        auto* system = dynamic_cast<KaParSystem*>(object);
        if (!system || !system->Bounds)
            return {};
        return {object, &system->Bounds->LocalTrans, &system->Bounds->WorldTrans, system->Bounds.get()};
    }
    }
    return {};
}

} // namespace ra7::editor
