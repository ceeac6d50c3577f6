#include "scene/SceneHierarchy.h"

#include "resources/DrawState.h"
#include "scene/Ka7SceneUnit.h"

namespace ra7 {

bool IsDescendant(const KaObjArray& scene, const KaSceneObj& object, std::string_view ancestorName)
{
    const KaSceneObj* current = &object;
    // A sound hierarchy is at most Count() deep; more steps mean a loop.
    for (std::int32_t steps = 0; current && steps <= scene.Count(); ++steps) {
        if (current->Name() == ancestorName)
            return true;
        if (current->ParentName.empty())
            return false;
        current = scene.FindByName(current->ParentName);
    }
    return false;
}

Vector3 OffsetInParent(const KaTransformation& parent, const Vector3& worldPosition)
{
    Vector3 offset = VectorSub(worldPosition, parent.Position);
    if (const auto inverse = MatrixInverse3(parent.Rotation))
        VectorTransform(offset, *inverse);
    return offset;
}

void RenameObject(KaObjArray& scene, KaSceneObj& object, const std::string& newName)
{
    const std::string oldName = object.Name();
    if (oldName == newName)
        return;
    if (KaSceneObj* parent = object.ParentName.empty() ? nullptr : scene.FindByName(object.ParentName)) {
        const std::int32_t index = parent->IndexOfChild(oldName);
        if (index >= 0)
            parent->Children[static_cast<std::size_t>(index)] = newName;
    }
    for (const std::string& childName : object.Children)
        if (KaSceneObj* child = scene.FindByName(childName); child && child->ParentName == oldName)
            child->ParentName = newName;
    if (ActiveCameraName == oldName)
        ActiveCameraName = newName;
    if (CurrentLightName == oldName)
        CurrentLightName = newName;
    if (CurrentObjectName == oldName)
        CurrentObjectName = newName;
    object.SetName(newName);
    scene.MarkChanged();
}

} // namespace ra7
