#include "core/PlacementCommands.h"

#include "core/EditorDocument.h"
#include "core/ObjectCommands.h"
#include "core/PageRules.h"
#include "runtime/Errors.h"
#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/SceneHierarchy.h"

namespace ra7::editor {

namespace {

const char* axisName(GizmoAxis axis)
{
    switch (axis) {
    case GizmoAxis::X:
        return "X";
    case GizmoAxis::Y:
        return "Y";
    case GizmoAxis::Z:
        return "Z";
    }
    return "";
}

float& component(Vector3& v, GizmoAxis axis)
{
    return axis == GizmoAxis::X ? v.x : axis == GizmoAxis::Y ? v.y : v.z;
}

std::string thingName(const GizmoTarget& target)
{
    switch (target.kind) {
    case GizmoTarget::Kind::Object:
        return target.objectName;
    case GizmoTarget::Kind::BoundsVolume:
        return "объём " + std::to_string(target.volume) + " объекта " + target.objectName;
    case GizmoTarget::Kind::ParticleBox:
        return "рамку частиц " + target.objectName;
    }
    return target.objectName;
}

// The object's own world placement after its edited transformation changed:
// a child stands where its parent's next update will put it, a shape where
// its owner places it. (Update itself is not called: it would also run a
// frame of particles or sound.)
void settle(const KaObjArray& scene, const ResolvedTarget& resolved)
{
    KaSceneObj& object = *resolved.object;
    if (resolved.shape) {
        resolved.shape->UpdateWorld(*object.Trans);
        return;
    }
    if (resolved.edit == object.Trans.get())
        return;
    const KaSceneObj* parent = scene.FindByName(object.ParentName);
    if (!parent || !parent->Trans)
        return;
    Vector3 offset = resolved.edit->Position;
    VectorTransform(offset, parent->Trans->Rotation);
    object.Trans->Position = VectorAdd(parent->Trans->Position, offset);
}

} // namespace

PlacementCommand::PlacementCommand(EditorDocument& document, GizmoTarget target, std::string label,
                                   KaTransformation before, KaTransformation after, bool merges)
    : document_(document), target_(std::move(target)), label_(std::move(label)), before_(before),
      after_(after), merges_(merges)
{
}

std::string PlacementCommand::MergeKey() const
{
    if (!merges_)
        return {};
    return "placement/" + std::to_string(static_cast<int>(target_.kind)) + "/" +
           std::to_string(target_.volume) + "/" + target_.objectName;
}

void PlacementCommand::MergeWith(EditorCommand& later)
{
    if (auto* same = dynamic_cast<PlacementCommand*>(&later))
        after_ = same->after_;
}

void PlacementCommand::write(const KaTransformation& value)
{
    const KaObjArray& scene = document_.Scene();
    const ResolvedTarget resolved = ResolveTarget(scene, target_);
    if (!resolved) {
        ObjectNamed(scene, target_.objectName); // names the missing object
        throw Error("Нет объёма " + std::to_string(target_.volume) + " у объекта <" + target_.objectName +
                    ">");
    }
    resolved.edit->Assign(value);
    settle(scene, resolved);
}

std::string DragLabel(const GizmoTarget& target, bool turning)
{
    return (turning ? "Повернуть " : "Переместить ") + thingName(target);
}

float WorldCoordinate(const EditorDocument& document, const std::string& name, GizmoAxis axis)
{
    Vector3 world = ObjectNamed(document.Scene(), name).Trans->Position;
    return component(world, axis);
}

void SetWorldCoordinate(EditorDocument& document, const std::string& name, GizmoAxis axis, float value)
{
    const GizmoTarget target{GizmoTarget::Kind::Object, name, 0};
    const ResolvedTarget resolved = ResolveTarget(document.Scene(), target);
    if (!resolved)
        throw Error("Объект <" + name + "> не найден");
    const KaTransformation before = *resolved.edit;
    KaTransformation after = before;
    Vector3 world = resolved.object->Trans->Position;
    component(world, axis) = value;
    if (resolved.edit == resolved.object->Trans.get()) {
        after.Position = world;
    } else {
        const KaSceneObj& parent = ObjectNamed(document.Scene(), resolved.object->ParentName);
        after.Position = OffsetInParent(*parent.Trans, world);
    }
    const std::string label =
        std::string(axisName(axis)) + " объекта " + name + " = " + FormatBoxNumber(value);
    document.Execute(std::make_unique<PlacementCommand>(document, target, label, before, after, false));
}

std::optional<std::string> ApplyCoordinateText(EditorDocument& document, GizmoAxis axis,
                                               std::string_view text)
{
    const std::string name = document.Selection().SelectedName();
    if (name.empty())
        return std::nullopt;
    if (!document.Scene().FindByName(name))
        return "Объект <" + name + "> не найден";
    const std::optional<float> value = ParseTypedNumber(text);
    if (!value)
        return "Координата " + std::string(axisName(axis)) + ": <" + std::string(text) +
               "> не число, координата не изменена";
    if (*value != WorldCoordinate(document, name, axis))
        SetWorldCoordinate(document, name, axis, *value);
    return std::nullopt;
}

void NegateCoordinate(EditorDocument& document, GizmoAxis axis)
{
    const std::string name = document.Selection().SelectedName();
    if (name.empty() || !document.Scene().FindByName(name))
        return;
    SetWorldCoordinate(document, name, axis, -WorldCoordinate(document, name, axis));
}

std::optional<std::string> ApplyNameText(EditorDocument& document, std::string_view text)
{
    const std::string oldName = document.Selection().SelectedName();
    if (oldName.empty())
        return std::nullopt;
    if (!document.Scene().FindByName(oldName))
        return "Объект <" + oldName + "> не найден";
    const std::string newName = TrimmedName(text);
    if (newName == oldName)
        return std::nullopt;
    if (auto problem = NameProblem(text, "Имя объекта"))
        return problem;
    if (document.Scene().FindByName(newName))
        return "Имя <" + newName + "> уже занято";
    document.Execute(std::make_unique<RenameObjectCommand>(document, oldName, newName),
                     static_cast<ChangeSet>(DocChange::Objects));
    return std::nullopt;
}

} // namespace ra7::editor
