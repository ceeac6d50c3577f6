#include "core/ChosenResources.h"

#include "core/ObjectCommands.h"
#include "core/PageRules.h"
#include "effects/AudioSource.h"
#include "effects/Ka7Sound.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneUnit.h"

#include <exception>

namespace ra7::editor {

namespace {

ChosenResource missing(std::string storedName)
{
    ChosenResource chosen;
    chosen.outcome = ChosenResource::Outcome::Missing;
    chosen.fieldValue = storedName;
    chosen.storedName = std::move(storedName);
    return chosen;
}

ChosenResource loaded(std::string storedName, std::string fieldValue)
{
    ChosenResource chosen;
    chosen.outcome = ChosenResource::Outcome::Loaded;
    chosen.storedName = std::move(storedName);
    chosen.fieldValue = std::move(fieldValue);
    return chosen;
}

ChosenResource failed(std::string storedName, const std::exception& error)
{
    ChosenResource chosen;
    chosen.outcome = ChosenResource::Outcome::Failed;
    chosen.storedName = std::move(storedName);
    chosen.error = error.what();
    return chosen;
}

KaSound& soundNamed(const KaObjArray& scene, const std::string& name)
{
    KaSceneObj& object = ObjectNamed(scene, name);
    if (object.Kind() != KaObjKind::Sound)
        throw Error("Объект <" + name + "> уже не источник звука");
    return static_cast<KaSound&>(object);
}

// Gives the source the sound file, or takes its sound away for an empty name.
void attachSound(KaSound& sound, const std::string& fileName)
{
    if (!fileName.empty()) {
        sound.SetSound(fileName);
        return;
    }
    sound.Stop();
    if (sound.Source)
        sound.Source->AttachBuffer(0);
    sound.SoundName.clear();
    sound.BufferSize = 0;
}

} // namespace

std::string ChosenResource::ConsoleLine() const
{
    switch (outcome) {
    case Outcome::Loaded:
        return FileAddedLine(storedName);
    case Outcome::Missing:
        return FileMissingLine(storedName);
    case Outcome::Failed:
        return "! " + error;
    }
    return {};
}

ChosenResource LoadChosenTexture(std::string_view chosenPath)
{
    std::string name = StoredFileName(chosenPath, {.lowerCase = true});
    if (!StoredFileExists(name))
        return missing(std::move(name));
    try {
        Textures->Add(name);
    } catch (const std::exception& error) {
        return failed(std::move(name), error);
    }
    return loaded(name, name);
}

std::string StoredMeshName(std::string_view fileName)
{
    RecordReader file = RecordReader::openFile(fileName);
    file.skip(kTagSize);
    return file.readShortString();
}

ChosenResource LoadChosenMesh(std::string_view chosenPath)
{
    std::string name = StoredFileName(chosenPath, {.lowerCase = true});
    if (!StoredFileExists(name))
        return missing(std::move(name));
    try {
        if (Meshes->IndexOf(name) >= 0)
            return loaded(name, name);
        std::string meshName = StoredMeshName(name);
        if (Meshes->IndexOf(meshName) < 0 && !Meshes->LoadMesh(name))
            throw Error("Меш из файла " + name + " не загружен");
        return loaded(std::move(name), std::move(meshName));
    } catch (const std::exception& error) {
        return failed(std::move(name), error);
    }
}

std::unique_ptr<EditorCommand> SoundFileEdit(KaObjArray& scene, const std::string& object,
                                             std::string fileName)
{
    std::string before = soundNamed(scene, object).SoundName;
    return std::make_unique<SetValueCommand<std::string>>(
        "звук " + object, std::string(), std::move(before), std::move(fileName),
        [&scene, object](const std::string& name) { attachSound(soundNamed(scene, object), name); });
}

} // namespace ra7::editor
