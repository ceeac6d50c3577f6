#include "core/SkyBoxEdits.h"

#include "core/EditorDocument.h"
#include "core/FlareEdits.h"
#include "core/ObjectCommands.h"
#include "core/PageRules.h"

#include <memory>

namespace ra7::editor {

void SetSkyBox(EditorDocument& document, const SkyBoxFaces& sky, std::string label)
{
    const SkyBoxFaces before = document.EditorState().sky;
    if (before == sky)
        return;
    auto apply = [&document](const SkyBoxFaces& value) {
        document.EditorState().sky = value;
        ApplySkyBox(value);
        document.Notify(static_cast<ChangeSet>(DocChange::SkyBox)); // undo and redo too
    };
    document.Execute(
        std::make_unique<SetValueCommand<SkyBoxFaces>>(std::move(label), std::string(), before, sky, apply),
        static_cast<ChangeSet>(DocChange::SkyBox));
}

void SetSkyBoxEnabled(EditorDocument& document, bool enabled)
{
    SkyBoxFaces sky = document.EditorState().sky;
    sky.enabled = enabled;
    SetSkyBox(document, sky, enabled ? "Включить SkyBox" : "Выключить SkyBox");
}

void ClearSkyBox(EditorDocument& document)
{
    SkyBoxFaces sky = document.EditorState().sky;
    sky.names.fill({});
    SetSkyBox(document, sky, "Очистить SkyBox");
}

FaceChoice ChooseSkyFace(EditorDocument& document, std::size_t face, std::string_view storedName)
{
    if (face >= kSkyFaceCount)
        return {false, "Нет такой грани"};
    if (auto problem = LoadPageTexture(storedName))
        return {false, *problem};
    SkyBoxFaces sky = document.EditorState().sky;
    sky.names[face] = std::string(storedName);
    SetSkyBox(document, sky, "Грань SkyBox " + std::string(storedName));
    return {true, FileAddedLine(storedName)};
}

void ApplySkyBoxNow(const EditorDocument& document)
{
    ApplySkyBox(document.EditorState().sky);
}

} // namespace ra7::editor
