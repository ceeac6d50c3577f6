#pragma once
// The scene being edited, between the views and the engine: its file name
// and modified mark, the selection, the undo history, and the change
// notices every view listens to. Views never change the scene themselves:
// they run commands here, and redraw when told what changed.

#include "core/CommandStack.h"
#include "core/EditorSelection.h"
#include "core/SceneEditorState.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ra7 {
class KaObjArray;
}

namespace ra7::editor {

// What a notice says has changed; listeners get a set of these bits.
enum class DocChange : std::uint32_t {
    Objects = 1u << 0,    // objects added, removed, renamed or re-linked: the tree
    Properties = 1u << 1, // fields of objects: the pages that show them
    Selection = 1u << 2,
    Meshes = 1u << 3,
    Materials = 1u << 4,
    Textures = 1u << 5,
    LensFlares = 1u << 6,
    Scripts = 1u << 7,
    SkyBox = 1u << 8,
    History = 1u << 9, // undo/redo labels, the modified mark, the file name
};
using ChangeSet = std::uint32_t;

constexpr ChangeSet operator|(DocChange a, DocChange b)
{
    return static_cast<ChangeSet>(a) | static_cast<ChangeSet>(b);
}
constexpr ChangeSet operator|(ChangeSet a, DocChange b)
{
    return a | static_cast<ChangeSet>(b);
}
constexpr bool Has(ChangeSet set, DocChange bit)
{
    return (set & static_cast<ChangeSet>(bit)) != 0;
}

class EditorDocument {
public:
    using Listener = std::function<void(ChangeSet)>;

    explicit EditorDocument(KaObjArray& scene);
    ~EditorDocument();
    EditorDocument(const EditorDocument&) = delete;
    EditorDocument& operator=(const EditorDocument&) = delete;

    KaObjArray& Scene() const { return scene_; }
    const EditorSelection& Selection() const { return selection_; }

    // --- edits ---------------------------------------------------------------
    // Runs a user's edit as an undoable step and logs it. An edit that fails
    // is logged with "! " and its error passes on for the view to show;
    // nothing is recorded then. `changes` says what the edit touches
    // beyond what the engine's own change flags report.
    void Execute(std::unique_ptr<EditorCommand> command, ChangeSet changes = 0);
    bool CanUndo() const { return commands_.CanUndo(); }
    bool CanRedo() const { return commands_.CanRedo(); }
    std::string UndoLabel() const { return commands_.UndoLabel(); }
    std::string RedoLabel() const { return commands_.RedoLabel(); }
    void Undo();
    void Redo();

    // A press-to-release gesture (a drag of the gizmo or of a bar): the
    // edits run in between become one step; Cancel puts everything back.
    void BeginGesture(std::string label);
    void CommitGesture();
    void CancelGesture();
    bool InGesture() const { return commands_.InTransaction(); }
    // The next edit starts a step of its own (a control lost the focus).
    void BreakMerge() { commands_.BreakMerge(); }

    // --- selection -------------------------------------------------------------
    // Views report what the user selected; every view then follows.
    void Select(std::vector<std::string> names);
    void FollowSelection(const std::vector<std::string>& selectedInViewOrder);
    void ClearSelection() { Select({}); }
    void SetGizmoTarget(GizmoTarget target);
    // Keeps the selection in step with a rename done by a command.
    void RenameSelected(std::string_view oldName, const std::string& newName);

    // --- the file ----------------------------------------------------------------
    const std::string& FileName() const { return fileName_; }
    bool Modified() const;
    // The scene was written to `fileName`: this state is the saved one.
    void MarkSaved(const std::string& fileName);
    // The scene was replaced or merged outside the history (a load, a new
    // scene): the history is forgotten, the selection drops what is gone.
    // `fileName` becomes the document's name; `modified` says whether the
    // scene now differs from that file.
    void SceneReplaced(const std::string& fileName, bool modified);
    // Counts the scenes replaced: what a view keeps beside the scene (the
    // objects scripts changed) belongs to one of them.
    std::uint64_t SceneGeneration() const { return sceneGeneration_; }
    // Something changed the scene outside the history (a script played).
    void MarkModified();

    // The editor's own objects made at start-up ("cam1", "lig1"), which make
    // way for objects of the same names that a loaded scene brings. A rename
    // by the user makes an object the user's; a rename to make way is followed.
    void SetEditorObjects(std::vector<std::string> names) { editorObjects_ = std::move(names); }
    const std::vector<std::string>& EditorObjects() const { return editorObjects_; }
    void EditorObjectsRenamed(const std::vector<std::pair<std::string, std::string>>& renames);

    // What the editor keeps of the scene beyond its file (sky box, flare
    // file): pages change it through commands and notify SkyBox/LensFlares.
    SceneEditorState& EditorState() { return editorState_; }
    const SceneEditorState& EditorState() const { return editorState_; }
    // Counts every change of the scene (edits, undo, redo, loads, changes
    // outside the history): autosave writes when it moved.
    std::uint64_t ChangeCount() const { return changeCount_; }

    // --- notices ---------------------------------------------------------------
    // Listeners are called in the order they were added.
    std::int32_t Listen(Listener listener);
    void Unlisten(std::int32_t id);
    // Tells every listener; notices raised while listeners run are gathered
    // and sent once they have all returned.
    void Notify(ChangeSet changes);
    // Reads the engine's change flags (objects, meshes, materials, textures,
    // lens flares, scripts) and tells the listeners what changed. Run once
    // per pass of the main loop and after every edit.
    void Poll();

    // Lines written to the console for every step; a test can read them.
    static std::string DoneLine(const std::string& label);
    static std::string UndoneLine(const std::string& label);
    static std::string RedoneLine(const std::string& label);

private:
    void restoreSelection(const std::vector<std::string>& names);

    KaObjArray& scene_;
    EditorSelection selection_;
    CommandStack commands_;
    std::string fileName_;
    std::uint64_t savedState_ = 0;
    bool modifiedOutsideHistory_ = false;
    std::uint64_t sceneGeneration_ = 0;
    std::vector<std::pair<std::int32_t, Listener>> listeners_;
    std::int32_t nextListener_ = 1;
    ChangeSet pending_ = 0;
    bool notifying_ = false;
    bool wasModified_ = false;
    std::vector<std::string> editorObjects_;
    SceneEditorState editorState_;
    std::uint64_t changeCount_ = 0;
};

} // namespace ra7::editor
