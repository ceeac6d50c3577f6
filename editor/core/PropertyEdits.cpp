#include "core/PropertyEdits.h"

#include "core/ObjectCommands.h"
#include "core/PropertyFields.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7ParSystem.h"
#include "resources/Ka7MaterialList.h"
#include "runtime/Errors.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>

namespace ra7::editor {

namespace {

// The named object, which must still be of the kind the control edits (a
// script may have put another object under that name meanwhile).
KaSceneObj& objectOfKind(const KaObjArray& scene, const std::string& name, std::optional<KaObjKind> kind)
{
    KaSceneObj& object = ObjectNamed(scene, name);
    if (kind && object.Kind() != *kind)
        throw Error("Объект <" + name + "> уже не " + std::string(KindCaption(*kind)));
    return object;
}

std::string label(std::string_view title, const std::string& object)
{
    return std::string(title) + " " + object;
}

// Edits of one bar on one object merge while the bar is dragged.
std::string mergeKey(const std::string& object, std::string_view control)
{
    return object + '\n' + std::string(control);
}

RangeValues readRange(const RangeFields& range, const KaSceneObj& object)
{
    return {range.min.read(object), range.max.read(object)};
}

void writeRange(const RangeFields& range, KaSceneObj& object, RangeValues values)
{
    range.min.write(object, values.min);
    range.max.write(object, values.max);
}

// The unending life and the lifetimes of a new system.
constexpr RangeValues kUnending{kUnendingLife, kUnendingLife};
constexpr RangeValues kNewSystemLifetimes{500.0f, 2000.0f};

} // namespace

std::unique_ptr<EditorCommand> BarEdit(KaObjArray& scene, const std::string& object, const BarField& field,
                                       std::int32_t position)
{
    const float before = field.read(objectOfKind(scene, object, field.kind));
    const float after = field.bar.Value(std::clamp(position, field.bar.min, field.bar.max));
    return std::make_unique<SetValueCommand<float>>(
        label(field.title, object), mergeKey(object, field.id), before, after,
        [&scene, object, &field](const float& value) {
            field.write(objectOfKind(scene, object, field.kind), value);
        });
}

RangeValues MoveRangeBar(RangeValues now, bool maximumBar, float value)
{
    if (maximumBar)
        return {std::min(now.min, value), value};
    return {std::min(value, now.max), now.max};
}

std::unique_ptr<EditorCommand> RangeEdit(KaObjArray& scene, const std::string& object,
                                         const RangeFields& range, bool maximumBar, std::int32_t position)
{
    const BarField& moved = maximumBar ? range.max : range.min;
    const RangeValues before = readRange(range, objectOfKind(scene, object, moved.kind));
    const float value = moved.bar.Value(std::clamp(position, moved.bar.min, moved.bar.max));
    const RangeValues after = MoveRangeBar(before, maximumBar, value);
    return std::make_unique<SetValueCommand<RangeValues>>(
        label(moved.title, object), mergeKey(object, moved.id), before, after,
        [&scene, object, &range](const RangeValues& values) {
            writeRange(range, objectOfKind(scene, object, range.min.kind), values);
        });
}

std::unique_ptr<EditorCommand> FlagEdit(KaObjArray& scene, const std::string& object, const FlagField& field,
                                        bool on)
{
    const bool before = field.read(objectOfKind(scene, object, field.kind));
    // No merge key: two clicks on a check box are two steps.
    return std::make_unique<SetValueCommand<bool>>(
        label(field.label, object), std::string(), before, on, [&scene, object, &field](const bool& value) {
            field.write(objectOfKind(scene, object, field.kind), value);
        });
}

std::unique_ptr<EditorCommand> NameEdit(KaObjArray& scene, const std::string& object, const NameField& field,
                                        std::string name)
{
    std::string before = field.read(objectOfKind(scene, object, field.kind));
    return std::make_unique<SetValueCommand<std::string>>(
        label(field.title, object), std::string(), std::move(before), std::move(name),
        [&scene, object, &field](const std::string& value) {
            field.write(objectOfKind(scene, object, field.kind), value);
        });
}

std::unique_ptr<EditorCommand> TypedEdit(KaObjArray& scene, const std::string& object,
                                         const TypedField& field, float value)
{
    const float before = field.read(objectOfKind(scene, object, field.kind));
    return std::make_unique<SetValueCommand<float>>(
        label(field.title, object), std::string(), before, value, [&scene, object, &field](const float& v) {
            field.write(objectOfKind(scene, object, field.kind), v);
        });
}

RangeValues UnendingLifeMemory::Recall(const std::string& object) const
{
    const auto found = remembered_.find(object);
    return found == remembered_.end() ? kNewSystemLifetimes : found->second;
}

std::unique_ptr<EditorCommand> UnendingLifeEdit(KaObjArray& scene, const std::string& object, bool on,
                                                UnendingLifeMemory& memory)
{
    const RangeFields& lifetimes = ParticleRanges()[0];
    const RangeValues before = readRange(lifetimes, objectOfKind(scene, object, KaObjKind::ParSystem));
    if (on && before.max != kUnendingLife)
        memory.Remember(object, before);
    const RangeValues after = on ? kUnending : memory.Recall(object);
    return std::make_unique<SetValueCommand<RangeValues>>(
        label("Безсмертны", object), std::string(), before, after,
        [&scene, object, &lifetimes](const RangeValues& values) {
            writeRange(lifetimes, objectOfKind(scene, object, KaObjKind::ParSystem), values);
        });
}

std::unique_ptr<EditorCommand> ParticleCountEdit(KaObjArray& scene, const std::string& object,
                                                 std::int32_t count)
{
    const auto& system = static_cast<const KaParSystem&>(objectOfKind(scene, object, KaObjKind::ParSystem));
    const std::int32_t before = system.Count();
    auto rebuild = [&scene, object](std::int32_t particles) {
        auto& old = static_cast<KaParSystem&>(objectOfKind(scene, object, KaObjKind::ParSystem));
        RebuildParSystem(scene, old, particles);
        scene.MarkChanged();
    };
    return std::make_unique<FunctionCommand>(
        label("количество частиц", object), [rebuild, count] { rebuild(count); },
        [rebuild, before] { rebuild(before); });
}

std::optional<std::string> FlareNameProblem(const std::string& name)
{
    if (name.empty() || (LensFlares && LensFlares->IndexOf(name) >= 0))
        return std::nullopt;
    return "Неверно набранное имя!";
}

std::optional<std::string> MaterialNameProblem(const std::string& name)
{
    if (name.empty() || (Materials && Materials->IndexOf(name) >= 0))
        return std::nullopt;
    return "Материала <" + name + "> нет в списке материалов";
}

} // namespace ra7::editor
