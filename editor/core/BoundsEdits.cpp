#include "core/BoundsEdits.h"

#include "core/EditorDocument.h"
#include "core/ObjectCommands.h"
#include "effects/Ka7ParSystem.h"
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>

namespace ra7::editor {

namespace {

constexpr ChangeSet kShapeChange = static_cast<ChangeSet>(DocChange::Properties);

KaGeometry& geometryNamed(const EditorDocument& document, const std::string& name)
{
    auto* geometry = dynamic_cast<KaGeometry*>(&ObjectNamed(document.Scene(), name));
    if (!geometry || !geometry->Bounds)
        throw Error("Объект <" + name + "> не геометрия");
    return *geometry;
}

KaGeometry* findGeometry(const EditorDocument& document, const std::string& name)
{
    auto* geometry = dynamic_cast<KaGeometry*>(document.Scene().FindByName(name));
    return geometry && geometry->Bounds ? geometry : nullptr;
}

std::string notGeometry(const std::string& name)
{
    return "Объёмы есть только у геометрии: <" + name + "> не геометрия";
}

std::string noVolume(std::int32_t number)
{
    return "Объёма " + std::to_string(number) + " нет";
}

// Sets a geometry's whole set as one step.
void executeSet(EditorDocument& document, const std::string& geometry, std::string label,
                const VolumeSetState& before, const VolumeSetState& after)
{
    auto apply = [&document, geometry](const VolumeSetState& state) {
        KaGeometry& owner = geometryNamed(document, geometry);
        RestoreVolumes(*owner.Bounds, state);
        owner.Bounds->UpdateWorld(*owner.Trans);
    };
    document.Execute(std::make_unique<SetValueCommand<VolumeSetState>>(std::move(label), std::string(),
                                                                       before, after, apply),
                     kShapeChange);
}

std::string shapeLabel(const GizmoTarget& target)
{
    if (target.kind == GizmoTarget::Kind::ParticleBox)
        return "объёма объекта " + target.objectName;
    return "объёма " + std::to_string(target.volume) + " объекта " + target.objectName;
}

// Sets one shape (same kind) as one step; `field` names what changes and
// keys the merging of successive moves.
std::optional<std::string> executeShape(EditorDocument& document, const GizmoTarget& target,
                                        const std::string& field, const ShapeState& after, bool merges)
{
    const KaBoundingObj* shape = ShapeAt(document, target);
    if (!shape)
        return std::string("Объём не выбран");
    const ShapeState before = CaptureShape(*shape);
    if (before.kind == after.kind && before.radius == after.radius && before.size == after.size &&
        before.local.Position == after.local.Position)
        return std::nullopt;
    auto apply = [&document, target](const ShapeState& state) {
        const ResolvedTarget resolved = ResolveTarget(document.Scene(), target);
        if (!resolved.shape || resolved.shape->Kind() != state.kind)
            throw Error("Объём объекта <" + target.objectName + "> не найден");
        const std::unique_ptr<KaBoundingObj> values = MakeShape(state);
        resolved.shape->Assign(*values);
        resolved.shape->UpdateWorld(*resolved.object->Trans);
    };
    const std::string label = field + " " + shapeLabel(target);
    document.Execute(std::make_unique<SetValueCommand<ShapeState>>(label, merges ? "shape:" + label : "",
                                                                   before, after, apply),
                     kShapeChange);
    return std::nullopt;
}

float& axisOf(Vector3& vector, GizmoAxis axis)
{
    return axis == GizmoAxis::X ? vector.x : axis == GizmoAxis::Y ? vector.y : vector.z;
}

const char* axisName(GizmoAxis axis)
{
    return axis == GizmoAxis::X ? "X" : axis == GizmoAxis::Y ? "Y" : "Z";
}

} // namespace

float AxisValue(const Vector3& vector, GizmoAxis axis)
{
    Vector3 copy = vector;
    return axisOf(copy, axis);
}

ShapeState CaptureShape(const KaBoundingObj& shape)
{
    ShapeState state;
    state.kind = shape.Kind();
    state.local = shape.LocalTrans;
    if (const auto* sphere = dynamic_cast<const KaBoundingSphere*>(&shape))
        state.radius = sphere->Radius;
    if (const auto* box = dynamic_cast<const KaBoundingAABB*>(&shape))
        state.size = box->Size;
    return state;
}

std::unique_ptr<KaBoundingObj> MakeShape(const ShapeState& state)
{
    std::unique_ptr<KaBoundingObj> shape;
    switch (state.kind) {
    case KaShapeKind::Sphere:
        shape = std::make_unique<KaBoundingSphere>(state.radius);
        break;
    case KaShapeKind::AABB:
        shape = std::make_unique<KaBoundingAABB>(state.size);
        break;
    case KaShapeKind::Point:
        shape = std::make_unique<KaBoundingObj>();
        break;
    }
    shape->LocalTrans = state.local;
    return shape;
}

VolumeSetState CaptureVolumes(const KaBoundingVolume& volume)
{
    VolumeSetState state;
    state.main = CaptureShape(*volume.Main);
    for (std::int32_t i = 0; i < volume.Count(); ++i)
        state.items.push_back(CaptureShape(volume.Item(i)));
    return state;
}

void RestoreVolumes(KaBoundingVolume& volume, const VolumeSetState& state)
{
    // Built aside and assigned, so that a state the set cannot take leaves it whole.
    KaBoundingVolume built;
    built.Main->Assign(*MakeShape(state.main));
    for (const ShapeState& item : state.items)
        built.AddCopy(*MakeShape(item));
    built.FrustumResult = volume.FrustumResult;
    volume.Assign(built);
}

std::string_view ShapeKindName(KaShapeKind kind)
{
    switch (kind) {
    case KaShapeKind::Sphere:
        return "Сфера";
    case KaShapeKind::AABB:
        return "AABB";
    case KaShapeKind::Point:
        return "Точка";
    }
    return "Сфера";
}

KaShapeKind ShapeKindByName(std::string_view name)
{
    return ShapeClassByName(name)->Kind();
}

BoundsOwner BoundsOwnerOf(const EditorDocument& document, const std::string& name)
{
    const KaSceneObj* object = name.empty() ? nullptr : document.Scene().FindByName(name);
    if (dynamic_cast<const KaGeometry*>(object))
        return BoundsOwner::Geometry;
    if (dynamic_cast<const KaCamera*>(object))
        return BoundsOwner::Camera;
    if (const auto* system = dynamic_cast<const KaParSystem*>(object); system && system->Bounds)
        return BoundsOwner::ParticleSystem;
    return BoundsOwner::None;
}

std::int32_t ClampVolumeNumber(std::int32_t number, std::int32_t count)
{
    return std::clamp(number, 0, std::max(count, 0));
}

GizmoTarget ShapeTarget(const EditorDocument& document, const std::string& owner, std::int32_t number)
{
    switch (BoundsOwnerOf(document, owner)) {
    case BoundsOwner::Geometry:
        return {GizmoTarget::Kind::BoundsVolume, owner, number};
    case BoundsOwner::ParticleSystem:
        return {GizmoTarget::Kind::ParticleBox, owner, 0};
    default:
        return {GizmoTarget::Kind::Object, owner, 0};
    }
}

GizmoTarget GizmoTargetFor(const EditorDocument& document, const std::string& owner, std::int32_t number,
                           bool moveShape)
{
    const GizmoTarget shape = ShapeTarget(document, owner, number);
    if (!moveShape || shape.kind == GizmoTarget::Kind::Object || !ResolveTarget(document.Scene(), shape))
        return {GizmoTarget::Kind::Object, owner, 0};
    return shape;
}

const KaBoundingObj* ShapeAt(const EditorDocument& document, const GizmoTarget& target)
{
    if (target.kind == GizmoTarget::Kind::Object)
        return nullptr;
    return ResolveTarget(document.Scene(), target).shape;
}

std::optional<std::string> AddVolume(EditorDocument& document, const std::string& geometry, KaShapeKind kind)
{
    const KaGeometry* owner = findGeometry(document, geometry);
    if (!owner)
        return notGeometry(geometry);
    if (owner->Bounds->Count() >= kMaxBoundingShapes)
        return "У объекта " + geometry + " уже " + std::to_string(kMaxBoundingShapes) +
               " объёмов: больше нельзя";
    const VolumeSetState before = CaptureVolumes(*owner->Bounds);
    VolumeSetState after = before;
    after.items.push_back(CaptureShape(*ShapeClassByName(ShapeKindName(kind))));
    executeSet(document, geometry, "Добавить объём объекту " + geometry, before, after);
    return std::nullopt;
}

std::optional<std::string> CopyVolume(EditorDocument& document, const std::string& geometry,
                                      std::int32_t number)
{
    const KaGeometry* owner = findGeometry(document, geometry);
    if (!owner)
        return notGeometry(geometry);
    if (number < 1 || number > owner->Bounds->Count())
        return std::string("Выберите объём от 1 до ") + std::to_string(owner->Bounds->Count()) + " для копии";
    if (owner->Bounds->Count() >= kMaxBoundingShapes)
        return "У объекта " + geometry + " уже " + std::to_string(kMaxBoundingShapes) +
               " объёмов: больше нельзя";
    const VolumeSetState before = CaptureVolumes(*owner->Bounds);
    VolumeSetState after = before;
    after.items.push_back(before.items[static_cast<std::size_t>(number - 1)]);
    executeSet(document, geometry, "Копировать объём " + std::to_string(number) + " объекта " + geometry,
               before, after);
    return std::nullopt;
}

std::optional<std::string> ChangeVolumeKind(EditorDocument& document, const std::string& geometry,
                                            std::int32_t number, KaShapeKind kind)
{
    const KaGeometry* owner = findGeometry(document, geometry);
    if (!owner)
        return notGeometry(geometry);
    if (number < 1 || number > owner->Bounds->Count())
        return std::string("Тип меняется только у объёмов от 1 до ") + std::to_string(owner->Bounds->Count());
    const VolumeSetState before = CaptureVolumes(*owner->Bounds);
    const ShapeState& shape = before.items[static_cast<std::size_t>(number - 1)];
    if (shape.kind == kind)
        return std::nullopt;
    VolumeSetState after = before;
    ShapeState fresh = CaptureShape(*ShapeClassByName(ShapeKindName(kind)));
    fresh.local = shape.local;
    after.items[static_cast<std::size_t>(number - 1)] = fresh;
    executeSet(document, geometry,
               "Объём " + std::to_string(number) + " объекта " + geometry + ": " +
                   std::string(ShapeKindName(kind)),
               before, after);
    return std::nullopt;
}

std::optional<std::string> DeleteVolume(EditorDocument& document, const std::string& geometry,
                                        std::int32_t number)
{
    const KaGeometry* owner = findGeometry(document, geometry);
    if (!owner)
        return notGeometry(geometry);
    if (number < 1 || number > owner->Bounds->Count())
        return number == 0 ? std::string("Главный объём удалить нельзя") : noVolume(number);
    const VolumeSetState before = CaptureVolumes(*owner->Bounds);
    VolumeSetState after = before;
    after.items.erase(after.items.begin() + (number - 1));
    executeSet(document, geometry, "Удалить объём " + std::to_string(number) + " объекта " + geometry, before,
               after);
    return std::nullopt;
}

std::optional<std::string> LoadVolumes(EditorDocument& document, const std::string& geometry,
                                       std::string_view storedName)
{
    const KaGeometry* owner = findGeometry(document, geometry);
    if (!owner)
        return notGeometry(geometry);
    if (!StoredFileExists(storedName))
        return FileMissingLine(storedName);
    KaBoundingVolume loaded;
    try {
        if (!loaded.LoadFromPhzFile(storedName))
            return std::string(storedName) + ": это не файл объёмов PHZ";
    } catch (const std::exception& e) {
        return std::string(storedName) + ": " + e.what();
    }
    executeSet(document, geometry, "Загрузить объёмы " + std::string(storedName) + " в " + geometry,
               CaptureVolumes(*owner->Bounds), CaptureVolumes(loaded));
    return std::nullopt;
}

std::optional<std::string> SaveVolumes(const EditorDocument& document, const std::string& geometry,
                                       std::string_view storedName)
{
    const KaGeometry* owner = findGeometry(document, geometry);
    if (!owner)
        return notGeometry(geometry);
    try {
        owner->Bounds->SaveToPhzFile(storedName);
    } catch (const std::exception& e) {
        return std::string(storedName) + ": " + e.what();
    }
    return std::nullopt;
}

std::optional<std::string> SetShapeRadius(EditorDocument& document, const GizmoTarget& target, float radius)
{
    const KaBoundingObj* shape = ShapeAt(document, target);
    if (!shape || shape->Kind() != KaShapeKind::Sphere)
        return std::string("Радиус есть только у сферы");
    if (!(radius >= 0) || radius > 3.4e38f)
        return std::string("Радиус должен быть числом не меньше 0");
    ShapeState after = CaptureShape(*shape);
    after.radius = radius;
    return executeShape(document, target, "Радиус", after, true);
}

std::optional<std::string> SetShapeSizeText(EditorDocument& document, const GizmoTarget& target,
                                            GizmoAxis axis, std::string_view text)
{
    const KaBoundingObj* shape = ShapeAt(document, target);
    if (!shape || shape->Kind() != KaShapeKind::AABB)
        return std::string("Размер есть только у AABB");
    const std::optional<float> value = ParseTypedNumber(text);
    if (!value || *value < 0)
        return "Размер " + std::string(axisName(axis)) + ": \"" + std::string(text) +
               "\" не число не меньше 0; размер не изменён";
    ShapeState after = CaptureShape(*shape);
    axisOf(after.size, axis) = *value;
    return executeShape(document, target, std::string("Размер ") + axisName(axis), after, false);
}

std::optional<std::string> SetShapeOffsetText(EditorDocument& document, const GizmoTarget& target,
                                              GizmoAxis axis, std::string_view text)
{
    const KaBoundingObj* shape = ShapeAt(document, target);
    if (!shape)
        return std::string("Объём не выбран");
    const std::optional<float> value = ParseTypedNumber(text);
    if (!value)
        return "Позиция " + std::string(axisName(axis)) + ": \"" + std::string(text) +
               "\" не число; позиция не изменена";
    ShapeState after = CaptureShape(*shape);
    axisOf(after.local.Position, axis) = *value;
    return executeShape(document, target, std::string("Позиция ") + axisName(axis), after, false);
}

std::optional<std::string> SetCameraRadius(EditorDocument& document, const std::string& camera, float radius)
{
    auto* owner = dynamic_cast<KaCamera*>(document.Scene().FindByName(camera));
    if (!owner || !owner->Bounds)
        return "Объект <" + camera + "> не камера";
    if (!(radius >= 0) || radius > 3.4e38f)
        return std::string("Радиус должен быть числом не меньше 0");
    if (owner->Bounds->Radius == radius)
        return std::nullopt;
    auto apply = [&document, camera](const float& value) {
        auto* target = dynamic_cast<KaCamera*>(&ObjectNamed(document.Scene(), camera));
        if (!target || !target->Bounds)
            throw Error("Объект <" + camera + "> не камера");
        target->Bounds->Radius = value;
    };
    const std::string label = "Радиус камеры " + camera;
    document.Execute(std::make_unique<SetValueCommand<float>>(label, "camera-radius:" + camera,
                                                              owner->Bounds->Radius, radius, apply),
                     kShapeChange);
    return std::nullopt;
}

} // namespace ra7::editor
