#include "ui/ProjectChooser.h"

#include "host/ProjectFolder.h"
#include "ui/DialogService.h"

#include <exception>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace ra7::editor {

namespace {

enum Answer : std::size_t { Create, Open, Sample, Quit };

const std::vector<std::string> kAnswers = {"Создать проект...", "Открыть папку проекта...", "Открыть пример",
                                           "Выход"};

constexpr const char* kSampleScene = "scene.kgf";

fs::path workingDirectory()
{
    std::error_code ec;
    return fs::current_path(ec);
}

std::string problemHere()
{
    return ProjectProblem(workingDirectory());
}

bool enter(const fs::path& folder, DialogService& dialogs)
{
    std::error_code ec;
    fs::current_path(folder, ec);
    if (ec)
        dialogs.ShowError(folder.string() + ": " + ec.message());
    return !ec;
}

// The editor's data is what a new project is made of; without it only an
// existing project can be opened.
bool haveData(const ProjectPlaces& places, DialogService& dialogs)
{
    if (places.engineData)
        return true;
    dialogs.ShowError("Не найдены данные редактора (data/shaders, data/arrow, sample): установите редактор "
                      "заново или укажите их папку в переменной RA7_DATA_DIR.");
    return false;
}

bool createProject(DialogService& dialogs, const ProjectPlaces& places)
{
    if (!haveData(places, dialogs))
        return false;
    const auto folder = dialogs.AskFolder("Папка нового проекта");
    if (!folder)
        return false;
    try {
        CreateProject(*folder, *places.engineData);
    } catch (const std::exception& e) {
        dialogs.ShowError(e.what());
        return false;
    }
    return enter(*folder, dialogs);
}

bool openProject(DialogService& dialogs)
{
    const auto folder = dialogs.AskFolder("Папка проекта");
    if (!folder)
        return false;
    if (const std::string problem = ProjectProblem(*folder); !problem.empty()) {
        dialogs.ShowError(*folder + " - не папка проекта: " + problem +
                          ". Создайте проект (\"Создать проект...\" или `ra7 init ПАПКА`).");
        return false;
    }
    return enter(*folder, dialogs);
}

// The build tree's sample is opened where it lies (scripts/run does so too);
// an installed one is read-only and is copied first, once.
bool openSample(DialogService& dialogs, const ProjectPlaces& places)
{
    if (!haveData(places, dialogs))
        return false;
    const fs::path& data = *places.engineData;
    std::error_code ec;
    fs::path sample = data / "sample";
    try {
        if (!fs::exists(data / "CMakeCache.txt", ec)) {
            CopySampleProject(places.sampleCopy, data);
            sample = places.sampleCopy;
        }
    } catch (const std::exception& e) {
        dialogs.ShowError(e.what());
        return false;
    }
    return enter(sample, dialogs);
}

} // namespace

ProjectStart FindStartProject(const std::string& scene)
{
    ProjectStart start;
    start.scene = scene;
    start.problem = problemHere();
    if (start.problem.empty() || scene.empty()) {
        start.ready = start.problem.empty();
        return start;
    }
    std::error_code ec;
    const fs::path file = fs::absolute(scene, ec).lexically_normal();
    if (const auto project = FindProjectAbove(file.parent_path())) {
        fs::current_path(*project, ec);
        if (!ec) {
            start.scene = file.string();
            start.problem.clear();
            start.ready = true;
        }
    }
    return start;
}

ProjectStart AskForProject(DialogService& dialogs, const ProjectPlaces& places, const std::string& problem,
                           const std::string& scene)
{
    ProjectStart start;
    start.scene = scene;
    start.problem = problem;
    for (;;) {
        const std::string text =
            "Папка " + workingDirectory().string() + " - не папка проекта: " + start.problem +
            ".\n\nРедактор работает в папке проекта (шейдеры, данные редактора, config.txt, "
            "log.txt). Создать новый проект, открыть папку проекта или открыть пример?";
        bool entered = false;
        switch (dialogs.AskChoice(text, kAnswers)) {
        case Create:
            entered = createProject(dialogs, places);
            break;
        case Open:
            entered = openProject(dialogs);
            break;
        case Sample:
            entered = openSample(dialogs, places);
            if (entered && scene.empty())
                start.scene = kSampleScene;
            break;
        default:
            return start;
        }
        if (entered) {
            start.problem = problemHere();
            start.ready = start.problem.empty();
            if (start.ready)
                return start;
            dialogs.ShowError(workingDirectory().string() + ": " + start.problem);
        }
    }
}

std::string NotAProjectText(const std::string& problem)
{
    return workingDirectory().string() + " is not a project folder: " + problem +
           ". Make one with `ra7 init DIR` (or `ra7 init --sample DIR`) and start there, or give --project "
           "DIR.";
}

} // namespace ra7::editor
