#include "core/ScriptCommands.h"

#include "anim/Ka7AnimScriptList.h"
#include "runtime/Errors.h"

namespace ra7::editor {

namespace {

KaAnimList& scripts()
{
    if (!AnimList)
        throw Error("Список скриптов не создан");
    return *AnimList;
}

Error missing(const std::string& name)
{
    return Error("Скрипт <" + name + "> не найден");
}

} // namespace

// --- ScriptSources ---------------------------------------------------------------

const ScriptText* ScriptSources::Find(const std::string& name) const
{
    const auto found = texts_.find(name);
    return found == texts_.end() ? nullptr : &found->second;
}

void ScriptSources::Set(const std::string& name, ScriptText text)
{
    texts_[name] = std::move(text);
    if (onChanged)
        onChanged(name);
}

void ScriptSources::Erase(const std::string& name)
{
    if (texts_.erase(name) != 0 && onChanged)
        onChanged(name);
}

void ScriptSources::KeepListed()
{
    for (auto it = texts_.begin(); it != texts_.end();)
        it = AnimList && AnimList->IndexOf(it->first) >= 0 ? std::next(it) : texts_.erase(it);
}

// --- adding ------------------------------------------------------------------------

AddScriptCommand::AddScriptCommand(ScriptSources& sources, const KaAnimScript& script, ScriptText source)
    : sources_(sources), held_(std::make_unique<KaAnimScript>(script)), name_(script.Name),
      source_(std::move(source))
{
}

std::string AddScriptCommand::Label() const
{
    return "Добавить скрипт " + name_;
}

void AddScriptCommand::Do()
{
    KaAnimList& list = scripts();
    if (list.IndexOf(name_) >= 0)
        throw Error("Скрипт <" + name_ + "> уже есть в списке");
    list.InsertAt(list.Count(), std::move(held_));
    sources_.Set(name_, source_);
}

void AddScriptCommand::Undo()
{
    KaAnimList& list = scripts();
    const std::int32_t index = list.IndexOf(name_);
    if (index < 0)
        throw missing(name_);
    held_ = list.Take(index);
    sources_.Erase(name_);
}

// --- compiling ---------------------------------------------------------------------

CompileScriptCommand::CompileScriptCommand(ScriptSources& sources, std::string name, ScriptText text)
    : sources_(sources), name_(std::move(name)), text_(std::move(text))
{
}

std::string CompileScriptCommand::Label() const
{
    return "Откомпилировать скрипт " + name_;
}

KaAnimScript& CompileScriptCommand::script() const
{
    KaAnimScript* found = scripts().Find(name_);
    if (!found)
        throw missing(name_);
    return *found;
}

void CompileScriptCommand::Do()
{
    KaAnimScript& target = script();
    before_ = target.Commands;
    const ScriptText* source = sources_.Find(name_);
    sourceBefore_ = source ? std::optional<ScriptText>(*source) : std::nullopt;
    target.Reset();
    target.LoadFromStrings(text_);
    // A name line in the text does not rename the script: the list, the
    // editor and other scripts know it by the name it has.
    target.Name = name_;
    sources_.Set(name_, text_);
}

void CompileScriptCommand::Undo()
{
    KaAnimScript& target = script();
    target.Commands = before_;
    target.Reset();
    if (sourceBefore_)
        sources_.Set(name_, *sourceBefore_);
    else
        sources_.Erase(name_);
}

// --- putting the scene back ----------------------------------------------------------

RestoreSceneCommand::RestoreSceneCommand(KaObjArray& scene, SceneBeforeScripts& held)
    : scene_(scene), held_(held)
{
}

std::string RestoreSceneCommand::Label() const
{
    return "Вернуть сцену";
}

void RestoreSceneCommand::Do()
{
    before_ = held_;
    now_ = before_.Now(scene_);
    before_.Restore(scene_);
    held_ = SceneBeforeScripts();
}

void RestoreSceneCommand::Undo()
{
    now_.Restore(scene_);
    held_ = before_;
}

} // namespace ra7::editor
