#include "core/SceneCommands.h"

#include "core/SaveWindowModel.h"
#include "core/ScenePaths.h"
#include "runtime/Ka7Log.h"
#include "runtime/Stopwatch.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/SceneFile.h"
#include "scene/SceneHierarchy.h"

#include <chrono>
#include <exception>
#include <unordered_set>

namespace ra7::editor {

std::string LoadScene(const std::string& path)
{
    LogLine("Загружаю...");
    const auto start = std::chrono::steady_clock::now();
    try {
        SceneObjects->LoadFromFile(path);
    } catch (...) {
        // What was merged before the damage stays and must reach the tree.
        SceneObjects->MarkChanged();
        throw;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    SceneObjects->MarkChanged();
    const auto micro = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
    std::string text = ElapsedText(micro);
    LogLine("Загружено успешно за " + text);
    return text;
}

std::vector<std::pair<std::string, std::string>>
MakeWayForLoadedNames(KaObjArray& scene, const std::string& path, const std::vector<std::string>& editorNames)
{
    std::vector<std::pair<std::string, std::string>> renames;
    std::vector<std::string> table;
    try {
        table = ReadSceneNameTable(path);
    } catch (const std::exception&) {
        return renames; // the load itself reports what is wrong with the file
    }
    const std::unordered_set<std::string> fileNames(table.begin(), table.end());
    for (const std::string& name : editorNames) {
        KaSceneObj* object = scene.FindByName(name);
        if (!object || fileNames.count(name) == 0)
            continue;
        std::string free;
        for (std::int32_t number = 1;; ++number) {
            free = name + "_" + std::to_string(number);
            if (!scene.FindByName(free) && fileNames.count(free) == 0)
                break;
        }
        RenameObject(scene, *object, free);
        LogLine("- " + name + " → " + free + ": имя занято объектом загружаемой сцены");
        renames.emplace_back(name, free);
    }
    return renames;
}

std::string BeginSave(const std::string& chosenPath)
{
    std::string name = SceneSaveName(chosenPath);
    LogLine("--Cохраняю...");
    return name;
}

void FinishSave(const std::string& fileName, const SaveWindowModel& model)
{
    const std::vector<std::int32_t> indexes = model.SaveIndexes(*SceneObjects);
    SceneObjects->SaveObjects(fileName, indexes, model.Lines());
    LogLine("--Cохранено успешно...");
}

} // namespace ra7::editor
