#include "core/FlareEdits.h"

#include "core/EditorDocument.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Sprite.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Errors.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>
#include <memory>

namespace ra7::editor {

namespace {

// One step of the flare list: the whole state before and after. Moves of
// one bar share a key and merge.
class FlareSetCommand : public EditorCommand {
public:
    FlareSetCommand(EditorDocument& document, std::string label, std::string key, FlareSetState before,
                    FlareSetState after)
        : document_(document), label_(std::move(label)), key_(std::move(key)), before_(std::move(before)),
          after_(std::move(after))
    {
    }
    std::string Label() const override { return label_; }
    void Do() override { RestoreFlares(document_, after_); }
    void Undo() override { RestoreFlares(document_, before_); }
    std::string MergeKey() const override { return key_; }
    void MergeWith(EditorCommand& later) override
    {
        if (auto* same = dynamic_cast<FlareSetCommand*>(&later))
            after_ = same->after_;
    }

private:
    EditorDocument& document_;
    std::string label_;
    std::string key_;
    FlareSetState before_;
    FlareSetState after_;
};

void execute(EditorDocument& document, std::string label, FlareSetState before, FlareSetState after,
             std::string key = {})
{
    document.Execute(std::make_unique<FlareSetCommand>(document, std::move(label), std::move(key),
                                                       std::move(before), std::move(after)),
                     DocChange::LensFlares | DocChange::Properties);
}

KaLensFlare* flareIn(FlareSetState& state, std::string_view name)
{
    for (KaLensFlare& flare : state.flares)
        if (flare.Name == name)
            return &flare;
    return nullptr;
}

std::string flareMissing(std::string_view name)
{
    return "Блик <" + std::string(name) + "> не найден";
}

std::string lensMissing(std::int32_t index)
{
    return "Линза " + std::to_string(index + 1) + " не найдена";
}

bool lensInUse(const KaLensFlare& flare, std::int32_t index)
{
    return index >= 0 && index < flare.LensCount && index < kMaxLenses;
}

} // namespace

FlareSetState CaptureFlares(const EditorDocument& document)
{
    FlareSetState state;
    if (LensFlares)
        for (std::int32_t i = 0; i < LensFlares->Count(); ++i)
            state.flares.push_back(LensFlares->Get(i));
    state.flareFile = document.EditorState().flareFile;
    const KaObjArray& scene = document.Scene();
    for (std::int32_t i = 0; i < scene.Count(); ++i)
        if (const auto* sprite = dynamic_cast<const KaSprite*>(scene.GetItem(i)))
            state.spriteFlares.emplace_back(sprite->Name(), sprite->FlareName);
    return state;
}

void RestoreFlares(EditorDocument& document, const FlareSetState& state)
{
    if (!LensFlares)
        throw Error("Список бликов не создан");
    LensFlares->Clear();
    for (const KaLensFlare& flare : state.flares)
        LensFlares->AddCopy(flare);
    document.EditorState().flareFile = state.flareFile;
    for (const auto& [spriteName, flareName] : state.spriteFlares)
        if (auto* sprite = dynamic_cast<KaSprite*>(document.Scene().FindByName(spriteName)))
            sprite->FlareName = flareName;
}

std::string NewFlareName()
{
    const KaLensFlare fresh;
    return LensFlares ? LensFlares->MakeUniqueName(fresh.Name) : fresh.Name;
}

std::optional<std::string> AddFlare(EditorDocument& document, std::string_view name)
{
    if (auto problem = NameProblem(name, "Имя блика"))
        return problem;
    KaLensFlare flare;
    flare.Name = TrimmedName(name);
    FlareSetState before = CaptureFlares(document);
    FlareSetState after = before;
    if (flareIn(after, flare.Name))
        return "Блик <" + flare.Name + "> уже есть";
    after.flares.push_back(flare);
    execute(document, "Добавить блик " + flare.Name, std::move(before), std::move(after));
    return std::nullopt;
}

std::optional<std::string> RenameFlare(EditorDocument& document, const std::string& oldName,
                                       std::string_view newName)
{
    if (auto problem = NameProblem(newName, "Имя блика"))
        return problem;
    const std::string name = TrimmedName(newName);
    if (name == oldName)
        return std::nullopt;
    FlareSetState before = CaptureFlares(document);
    FlareSetState after = before;
    KaLensFlare* flare = flareIn(after, oldName);
    if (!flare)
        return flareMissing(oldName);
    if (flareIn(after, name))
        return "Блик <" + name + "> уже есть";
    flare->Name = name;
    for (auto& [sprite, flareName] : after.spriteFlares)
        if (flareName == oldName)
            flareName = name;
    execute(document, "Переименовать блик " + oldName + " в " + name, std::move(before), std::move(after));
    return std::nullopt;
}

std::optional<std::string> DeleteFlares(EditorDocument& document, const std::vector<std::string>& names)
{
    if (names.empty())
        return "Не выбран ни один блик";
    FlareSetState before = CaptureFlares(document);
    FlareSetState after = before;
    for (const std::string& name : names) {
        const auto gone = std::erase_if(after.flares, [&](const KaLensFlare& f) { return f.Name == name; });
        if (gone == 0)
            return flareMissing(name);
    }
    const std::string label = names.size() == 1 ? "Удалить блик " + names.front()
                                                : "Удалить блики (" + std::to_string(names.size()) + ")";
    execute(document, label, std::move(before), std::move(after));
    return std::nullopt;
}

std::optional<std::string> SetFlareDistance(EditorDocument& document, const std::string& flare,
                                            std::string_view text)
{
    const std::optional<float> value = ParseTypedNumber(text);
    if (!value || !(*value > 0))
        return "Расстояние должно быть числом больше 0: \"" + std::string(text) + "\"";
    FlareSetState before = CaptureFlares(document);
    FlareSetState after = before;
    KaLensFlare* target = flareIn(after, flare);
    if (!target)
        return flareMissing(flare);
    if (target->DistanceScale == *value)
        return std::nullopt;
    target->DistanceScale = *value;
    execute(document, "Расстояние блика " + flare + " = " + FormatBoxNumber(*value), std::move(before),
            std::move(after));
    return std::nullopt;
}

std::optional<std::string> AssignFlareToSprite(EditorDocument& document, const std::string& sprite,
                                               const std::string& flare)
{
    auto* target = dynamic_cast<KaSprite*>(document.Scene().FindByName(sprite));
    if (!target)
        return "Блик можно дать только спрайту";
    if (target->FlareName == flare)
        return std::nullopt;
    FlareSetState before = CaptureFlares(document);
    FlareSetState after = before;
    for (auto& [name, flareName] : after.spriteFlares)
        if (name == sprite)
            flareName = flare;
    execute(document, "Блик спрайта " + sprite + " = " + flare, std::move(before), std::move(after));
    return std::nullopt;
}

std::optional<std::string> AddLens(EditorDocument& document, const std::string& flare,
                                   const std::string& textureName)
{
    FlareSetState before = CaptureFlares(document);
    FlareSetState after = before;
    KaLensFlare* target = flareIn(after, flare);
    if (!target)
        return flareMissing(flare);
    if (target->LensCount >= kMaxLenses)
        return "У блика " + flare + " уже " + std::to_string(kMaxLenses) + " линз: больше нельзя";
    // The slot may hold a lens from an earlier, longer record: a new lens starts fresh.
    KaLens& lens = target->Lenses[static_cast<std::size_t>(target->LensCount)];
    lens = KaLens{};
    lens.TextureName = textureName;
    ++target->LensCount;
    execute(document, "Добавить линзу блика " + flare, std::move(before), std::move(after));
    return std::nullopt;
}

std::optional<std::string> DeleteLens(EditorDocument& document, const std::string& flare, std::int32_t index)
{
    FlareSetState before = CaptureFlares(document);
    FlareSetState after = before;
    KaLensFlare* target = flareIn(after, flare);
    if (!target)
        return flareMissing(flare);
    if (!lensInUse(*target, index))
        return lensMissing(index);
    // The lenses after it move up; the freed last slot is reset.
    for (std::int32_t i = index; i + 1 < target->LensCount; ++i)
        target->Lenses[static_cast<std::size_t>(i)] = target->Lenses[static_cast<std::size_t>(i + 1)];
    --target->LensCount;
    target->Lenses[static_cast<std::size_t>(target->LensCount)] = KaLens{};
    execute(document, "Удалить линзу " + std::to_string(index + 1) + " блика " + flare, std::move(before),
            std::move(after));
    return std::nullopt;
}

std::optional<std::string> SetLens(EditorDocument& document, const std::string& flare, std::int32_t index,
                                   const KaLens& value, std::string_view field)
{
    FlareSetState before = CaptureFlares(document);
    FlareSetState after = before;
    KaLensFlare* target = flareIn(after, flare);
    if (!target)
        return flareMissing(flare);
    if (!lensInUse(*target, index))
        return lensMissing(index);
    KaLens& lens = target->Lenses[static_cast<std::size_t>(index)];
    if (lens.TextureName == value.TextureName && lens.Color == value.Color && lens.Pos == value.Pos &&
        lens.Size == value.Size)
        return std::nullopt;
    lens = value;
    const std::string what = std::string(field) + " линзы " + std::to_string(index + 1) + " блика " + flare;
    execute(document, what, std::move(before), std::move(after), "lens:" + what);
    return std::nullopt;
}

std::optional<std::string> SetLensTexture(EditorDocument& document, const std::string& flare,
                                          std::int32_t index, const std::string& textureName)
{
    if (!LensFlares || !LensFlares->Find(flare))
        return flareMissing(flare);
    KaLens lens =
        LensFlares->Find(flare)->Lenses[static_cast<std::size_t>(std::clamp(index, 0, kMaxLenses - 1))];
    lens.TextureName = textureName;
    auto refused = SetLens(document, flare, index, lens, "Текстура");
    document.BreakMerge();
    return refused;
}

std::optional<std::string> SaveFlares(const std::vector<std::int32_t>& indexes, std::string_view storedName)
{
    if (indexes.empty())
        return std::string("Не выбран ни один блик: сохранять нечего");
    if (!LensFlares)
        return std::string("Список бликов не создан");
    try {
        LensFlares->SaveToFile(storedName, indexes);
    } catch (const std::exception& e) {
        return std::string(storedName) + ": " + e.what();
    }
    return std::nullopt;
}

std::optional<std::string> LoadFlares(EditorDocument& document, std::string_view storedName)
{
    if (!StoredFileExists(storedName))
        return FileMissingLine(storedName);
    FlareSetState before = CaptureFlares(document);
    // Read into a copy of the list, so that a damaged file leaves the scene's flares alone.
    KaLensFlareList loaded;
    for (const KaLensFlare& flare : before.flares)
        loaded.AddCopy(flare);
    try {
        if (!loaded.LoadFromFile(storedName))
            return std::string(storedName) + ": в файле нет бликов";
    } catch (const std::exception& e) {
        return std::string(storedName) + ": " + e.what();
    }
    FlareSetState after = before;
    after.flares.clear();
    for (std::int32_t i = 0; i < loaded.Count(); ++i)
        after.flares.push_back(loaded.Get(i));
    after.flareFile = std::string(storedName);
    execute(document, "Загрузить блики " + std::string(storedName), std::move(before), std::move(after));
    return std::nullopt;
}

std::optional<std::string> LoadPageTexture(std::string_view storedName)
{
    if (!StoredFileExists(storedName))
        return FileMissingLine(storedName);
    if (!Textures)
        return std::string("Список текстур не создан");
    try {
        Textures->Add(storedName);
    } catch (const std::exception& e) {
        return std::string(storedName) + ": " + e.what();
    }
    return std::nullopt;
}

} // namespace ra7::editor
