#include "core/NewObjects.h"

#include "core/EditorDocument.h"
#include "core/ObjectCommands.h"
#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
#include "runtime/Ka7Log.h"
#include "runtime/TextUtil.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/SceneFile.h"

namespace ra7::editor {

const NewObjectTexts& TextsOf(NewObjectKind kind)
{
    static const std::array<NewObjectTexts, kNewObjectKinds.size()> texts = {{
        {"Добавить спрайт", "Спрайт", "Спрайт добавлен...", "Sprite"},
        {"Добавить источник света", "Источник света", "Источник света добавлен...", "Light"},
        {"Добавить геометрию", "Геометрию", "Геометрия добавлена...", "Geometry"},
        {"Добавить систему частиц", "Систему частиц", "Система частиц добавлена...", "ParSystem"},
        {"Добавить источник звука", "Источник звука", "Источник звука добавлен...", "Sound"},
        {"Добавить камеру", "Камеру", "Камера добавлена...", "Camera"},
    }};
    return texts[static_cast<std::size_t>(kind)];
}

ParticleCountAnswer ParseParticleCount(std::string_view answer)
{
    const std::string_view text = trimBlanks(answer);
    if (text.empty() || text == "0")
        return {};
    const std::optional<std::int32_t> count = parseInt32(text);
    if (count && *count >= 1 && *count <= kMaxParticleCount)
        return {count, std::nullopt};
    return {std::nullopt, "Количество частиц <" + std::string(text) +
                              "> не подходит: нужно целое число от 1 до " +
                              std::to_string(kMaxParticleCount)};
}

std::unique_ptr<KaSceneObj> MakeNewObject(NewObjectKind kind, std::int32_t particleCount)
{
    switch (kind) {
    case NewObjectKind::Sprite:
        return std::make_unique<KaSprite>();
    case NewObjectKind::Light:
        return std::make_unique<KaLight>();
    case NewObjectKind::Geometry:
        return std::make_unique<KaGeometry>();
    case NewObjectKind::ParSystem:
        return std::make_unique<KaParSystem>(particleCount);
    case NewObjectKind::Sound:
        return std::make_unique<KaSound>();
    case NewObjectKind::Camera:
        return std::make_unique<KaCamera>();
    }
    return nullptr;
}

std::string AddNewObject(EditorDocument& document, NewObjectKind kind, std::int32_t particleCount)
{
    std::unique_ptr<KaSceneObj> object = MakeNewObject(kind, particleCount);
    const std::string name = document.Scene().MakeUniqueName(object->Name());
    object->SetName(name);
    document.Execute(std::make_unique<AddObjectCommand>(document, std::move(object)));
    LogLine(std::string(TextsOf(kind).added));
    document.Select({name});
    return name;
}

} // namespace ra7::editor
