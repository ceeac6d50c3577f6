#pragma once
// The undoable edits of the script list: adding a script (empty, or read
// from a file) and compiling text into a script; and "Вернуть сцену", which
// puts back the objects that played scripts changed. Each finds its script
// by name whenever it runs. The editor keeps each script's source text
// beside it, and these edits keep that text in step.

#include "anim/Ka7AnimScript.h"
#include "core/CommandStack.h"
#include "core/SceneBeforeScripts.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ra7 {
class KaObjArray;
}

namespace ra7::editor {

using ScriptText = std::vector<std::string>;

// The text each script was loaded or last compiled from, by script name.
class ScriptSources {
public:
    const ScriptText* Find(const std::string& name) const;
    void Set(const std::string& name, ScriptText text);
    void Erase(const std::string& name);
    // Forgets the texts of scripts that AnimList no longer holds (a new scene).
    void KeepListed();

    // Told the name of every script whose text changed.
    std::function<void(const std::string&)> onChanged;

private:
    std::map<std::string, ScriptText> texts_;
};

// Appends a script to AnimList under its own name (which must be free);
// undo takes it out again.
class AddScriptCommand : public EditorCommand {
public:
    AddScriptCommand(ScriptSources& sources, const KaAnimScript& script, ScriptText source);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    ScriptSources& sources_;
    std::unique_ptr<KaAnimScript> held_;
    std::string name_;
    ScriptText source_;
};

// Rewinds the named script and replaces its commands by those of the text;
// the script keeps its name whatever name line the text holds. Undo gives
// the old commands and text back (rewound: playing is not part of the history).
class CompileScriptCommand : public EditorCommand {
public:
    CompileScriptCommand(ScriptSources& sources, std::string name, ScriptText text);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    KaAnimScript& script() const;

    ScriptSources& sources_;
    std::string name_;
    ScriptText text_;
    KaAnimArr before_;
    std::optional<ScriptText> sourceBefore_;
};

// Puts the objects that played scripts changed back as they were before
// the first of them played; undo gives the scripts' result back. `held` is
// the editor's record of that earlier scene: done, the record is used up;
// undone, it is there again.
class RestoreSceneCommand : public EditorCommand {
public:
    RestoreSceneCommand(KaObjArray& scene, SceneBeforeScripts& held);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    KaObjArray& scene_;
    SceneBeforeScripts& held_;
    SceneBeforeScripts before_;
    SceneBeforeScripts now_;
};

} // namespace ra7::editor
