#pragma once
// The animation scripts as the editor works on them: the script the editor
// window works on (EditedScript, kept by name and looked up at every use),
// the source text kept with each script, the scene as it was before scripts
// played, and what the animation panel and the editor window do. Adding,
// loading and compiling are undoable steps of the document; playing is not
// (the scene is marked modified instead, and "Вернуть сцену" puts it back).
// A refusal or failure throws an Error whose text is meant for the user.

#include "core/SceneBeforeScripts.h"
#include "core/ScriptCommands.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ra7 {
class KaAnimScript;
}

namespace ra7::editor {

class EditorDocument;

// What a compile did, for the window to tell the user.
struct CompileReport {
    std::string script;
    std::int32_t commands = 0;
    // The dropped lines: 1-based number and the reason.
    std::vector<std::pair<std::int32_t, std::string>> dropped;
    // The name a "[name]" line of the text gave, when it is not the script's.
    std::optional<std::string> ignoredName;
};

class ScriptWorkspace {
public:
    enum class Event {
        Selected,      // EditedScript changed
        SourceChanged, // the kept text of the named script changed
        Loaded,        // a file was loaded into a new script: its text replaces the window's
    };
    using Listener = std::function<void(Event, const std::string& script)>;

    explicit ScriptWorkspace(EditorDocument& document);
    ~ScriptWorkspace();
    ScriptWorkspace(const ScriptWorkspace&) = delete;
    ScriptWorkspace& operator=(const ScriptWorkspace&) = delete;

    EditorDocument& Document() const { return document_; }

    // --- EditedScript ---------------------------------------------------------------
    const std::string& EditedName() const { return edited_; }
    // The selected script, or null when none is selected or it is gone.
    KaAnimScript* Edited() const;
    void Select(const std::string& name);
    // The names in AnimList, in list order.
    static std::vector<std::string> ScriptNames();

    // --- the script list ---------------------------------------------------------------
    // "Добавить": a new empty script. An empty answer adds nothing.
    void AddScript(std::string_view typedName);
    // "Загрузить из TXT": a script from a text file, named by its "[name]"
    // line or else after the file; the new script is selected. Returns its name.
    std::string LoadScriptFile(const std::string& path);
    // "Откомпилировать": the text into the selected script. The dropped
    // lines are logged.
    CompileReport Compile(const ScriptText& text);
    const ScriptText* SourceOf(const std::string& name) const { return sources_.Find(name); }
    // Whether the editor window's text changed since it was loaded, compiled
    // or saved (the window tells), so that a load asks before replacing it.
    void SetTextModified(bool modified) { textModified_ = modified; }
    bool TextModified() const { return textModified_; }

    // --- playing -------------------------------------------------------------------------
    // Play rewinds and starts the selected script, remembering first how the
    // objects it names stand; Pause holds it; Stop rewinds it and keeps what
    // it did. None of them is an undoable step.
    void Play();
    void Pause();
    void Stop();
    bool AnyPlaying() const;
    // "Вернуть сцену": every script rewound, the objects they changed put
    // back as they were before the first Play (an undoable step).
    bool CanRestoreScene() const { return !before_.Empty(); }
    void RestoreScene();
    // Once per pass of the main loop: a playing script keeps the scene
    // modified; a new scene drops what belonged to the old one.
    void Tick();

    std::int32_t Listen(Listener listener);
    void Unlisten(std::int32_t id);

private:
    void notify(Event event, const std::string& script);
    KaAnimScript& selectedOrRefuse() const;
    void followScene();

    EditorDocument& document_;
    std::string edited_;
    ScriptSources sources_;
    SceneBeforeScripts before_;
    std::uint64_t generation_ = 0;
    bool textModified_ = false;
    std::vector<std::pair<std::int32_t, Listener>> listeners_;
    std::int32_t nextListener_ = 1;
};

} // namespace ra7::editor
