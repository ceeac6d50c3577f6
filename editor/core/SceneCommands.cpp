#include "core/SceneCommands.h"

#include "core/SaveWindowModel.h"
#include "core/ScenePaths.h"
#include "runtime/Ka7Log.h"
#include "runtime/Stopwatch.h"
#include "scene/Ka7SceneUnit.h"

#include <chrono>

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
