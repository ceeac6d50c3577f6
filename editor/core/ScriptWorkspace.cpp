#include "core/ScriptWorkspace.h"

#include "anim/AnimLineCheck.h"
#include "anim/Ka7AnimScriptList.h"
#include "core/EditorDocument.h"
#include "core/PageRules.h"
#include "core/ScriptFiles.h"
#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneUnit.h"

#include <memory>

namespace ra7::editor {

ScriptWorkspace::ScriptWorkspace(EditorDocument& document)
    : document_(document), generation_(document.SceneGeneration())
{
    sources_.onChanged = [this](const std::string& name) { notify(Event::SourceChanged, name); };
}

ScriptWorkspace::~ScriptWorkspace() = default;

KaAnimScript* ScriptWorkspace::Edited() const
{
    return AnimList && !edited_.empty() ? AnimList->Find(edited_) : nullptr;
}

void ScriptWorkspace::Select(const std::string& name)
{
    if (name == edited_)
        return;
    edited_ = name;
    notify(Event::Selected, name);
}

std::vector<std::string> ScriptWorkspace::ScriptNames()
{
    std::vector<std::string> names;
    for (std::int32_t i = 0; AnimList && i < AnimList->Count(); ++i)
        names.push_back(AnimList->Get(i).Name);
    return names;
}

KaAnimScript& ScriptWorkspace::selectedOrRefuse() const
{
    KaAnimScript* script = Edited();
    if (!script)
        throw Error("Скрипт не выбран: выберите его в списке анимационной панели");
    return *script;
}

// --- the script list -----------------------------------------------------------------

void ScriptWorkspace::AddScript(std::string_view typedName)
{
    const std::string name = TrimmedName(typedName);
    if (name.empty())
        return;
    if (const auto problem = NameProblem(name, "Имя скрипта"))
        throw Error(*problem);
    if (AnimList->IndexOf(name) >= 0)
        throw Error("Скрипт <" + name + "> уже есть в списке");
    KaAnimScript script;
    script.Name = name;
    document_.Execute(std::make_unique<AddScriptCommand>(sources_, script, ScriptText{}),
                      static_cast<ChangeSet>(DocChange::Scripts));
    Select(name);
}

std::string ScriptWorkspace::LoadScriptFile(const std::string& path)
{
    ScriptText lines = readTextLines(path);
    KaAnimScript script;
    script.LoadFromStrings(lines);
    const std::string name = NameForScriptFile(path, script.Name);
    if (const auto problem = NameProblem(name, "Имя скрипта"))
        throw Error(*problem + " (файл <" + path + ">)");
    if (AnimList->IndexOf(name) >= 0)
        throw Error("Скрипт <" + name + "> уже есть в списке: файл <" + path + "> не загружен");
    script.Name = name;
    document_.Execute(std::make_unique<AddScriptCommand>(sources_, script, std::move(lines)),
                      static_cast<ChangeSet>(DocChange::Scripts));
    Select(name);
    notify(Event::Loaded, name);
    return name;
}

CompileReport ScriptWorkspace::Compile(const ScriptText& text)
{
    selectedOrRefuse();
    CompileReport report;
    report.script = edited_;
    if (const auto named = NameInText(text); named && *named != edited_)
        report.ignoredName = *named;
    document_.Execute(std::make_unique<CompileScriptCommand>(sources_, edited_, text),
                      static_cast<ChangeSet>(DocChange::Scripts));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const AnimLineCheck check = CheckAnimLine(text[i]);
        if (!check.dropped)
            continue;
        const auto number = static_cast<std::int32_t>(i + 1);
        report.dropped.emplace_back(number, check.issues.front().text);
        LogLine("! Скрипт " + edited_ + ", строка " + std::to_string(number) +
                " пропущена: " + check.issues.front().text);
    }
    report.commands = selectedOrRefuse().ComCount();
    return report;
}

// --- playing -------------------------------------------------------------------------

void ScriptWorkspace::Play()
{
    followScene();
    KaAnimScript& script = selectedOrRefuse();
    before_.Remember(document_.Scene(), script);
    script.Reset();
    script.Play();
    document_.MarkModified();
}

void ScriptWorkspace::Pause()
{
    selectedOrRefuse().Pause();
}

void ScriptWorkspace::Stop()
{
    selectedOrRefuse().Reset();
    if (!before_.Empty())
        document_.MarkModified();
}

bool ScriptWorkspace::AnyPlaying() const
{
    for (std::int32_t i = 0; AnimList && i < AnimList->Count(); ++i)
        if (AnimList->Get(i).Speed > 0)
            return true;
    return false;
}

void ScriptWorkspace::RestoreScene()
{
    followScene();
    if (before_.Empty())
        return;
    for (std::int32_t i = 0; i < AnimList->Count(); ++i)
        AnimList->Get(i).Reset();
    document_.Execute(std::make_unique<RestoreSceneCommand>(document_.Scene(), before_),
                      DocChange::Objects | DocChange::Properties);
}

void ScriptWorkspace::Tick()
{
    followScene();
    if (AnyPlaying())
        document_.MarkModified();
}

void ScriptWorkspace::followScene()
{
    if (generation_ == document_.SceneGeneration())
        return;
    generation_ = document_.SceneGeneration();
    before_ = SceneBeforeScripts();
    sources_.KeepListed();
}

// --- listeners -------------------------------------------------------------------------

std::int32_t ScriptWorkspace::Listen(Listener listener)
{
    const std::int32_t id = nextListener_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void ScriptWorkspace::Unlisten(std::int32_t id)
{
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void ScriptWorkspace::notify(Event event, const std::string& script)
{
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners)
        listener(event, script);
}

} // namespace ra7::editor
