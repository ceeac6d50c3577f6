#include "core/EditorDocument.h"

#include "anim/Ka7AnimScriptList.h"
#include "effects/Ka7LensFlareList.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>
#include <exception>

namespace ra7::editor {

namespace {

template <class List>
bool take(const std::unique_ptr<List>& list)
{
    return list && list->TakeChanged();
}

} // namespace

EditorDocument::EditorDocument(KaObjArray& scene) : scene_(scene)
{
    savedState_ = commands_.StateId();
}

EditorDocument::~EditorDocument() = default;

std::string EditorDocument::DoneLine(const std::string& label)
{
    return "- Правка: " + label;
}

std::string EditorDocument::UndoneLine(const std::string& label)
{
    return "- Отменено: " + label;
}

std::string EditorDocument::RedoneLine(const std::string& label)
{
    return "- Повторено: " + label;
}

void EditorDocument::Execute(std::unique_ptr<EditorCommand> command, ChangeSet changes)
{
    const std::string label = command->Label();
    bool newStep = false;
    try {
        newStep = commands_.Execute(std::move(command), selection_.Names());
    } catch (const std::exception& e) {
        LogLine(std::string("! ") + label + ": " + e.what());
        Poll();
        throw;
    }
    ++changeCount_;
    // A drag merges hundreds of moves into one step: one line, not hundreds.
    if (newStep && !commands_.InTransaction())
        LogLine(DoneLine(label));
    if (selection_.DropMissing(scene_))
        changes |= static_cast<ChangeSet>(DocChange::Selection);
    Notify(changes | DocChange::Properties | DocChange::History);
    Poll();
}

void EditorDocument::Undo()
{
    const std::string label = commands_.UndoLabel();
    const SelectionNames* selection = commands_.Undo(selection_.Names());
    if (!selection)
        return;
    ++changeCount_;
    LogLine(UndoneLine(label));
    restoreSelection(*selection);
    Notify(DocChange::Properties | DocChange::History);
    Poll();
}

void EditorDocument::Redo()
{
    const std::string label = commands_.RedoLabel();
    const SelectionNames* selection = commands_.Redo();
    if (!selection)
        return;
    ++changeCount_;
    LogLine(RedoneLine(label));
    restoreSelection(*selection);
    Notify(DocChange::Properties | DocChange::History);
    Poll();
}

void EditorDocument::BeginGesture(std::string label)
{
    if (commands_.InTransaction())
        commands_.CommitTransaction();
    commands_.BeginTransaction(std::move(label));
}

void EditorDocument::CommitGesture()
{
    if (!commands_.InTransaction())
        return;
    if (commands_.CommitTransaction())
        LogLine(DoneLine(commands_.UndoLabel()));
    Notify(static_cast<ChangeSet>(DocChange::History));
}

void EditorDocument::CancelGesture()
{
    if (!commands_.InTransaction())
        return;
    commands_.CancelTransaction();
    ++changeCount_;
    Notify(DocChange::Properties | DocChange::History);
    Poll();
}

void EditorDocument::restoreSelection(const std::vector<std::string>& names)
{
    bool changed = selection_.Set(names);
    changed = selection_.DropMissing(scene_) || changed;
    if (changed)
        Notify(static_cast<ChangeSet>(DocChange::Selection));
}

void EditorDocument::Select(std::vector<std::string> names)
{
    if (selection_.Set(std::move(names)))
        Notify(static_cast<ChangeSet>(DocChange::Selection));
}

void EditorDocument::FollowSelection(const std::vector<std::string>& selectedInViewOrder)
{
    if (selection_.Follow(selectedInViewOrder))
        Notify(static_cast<ChangeSet>(DocChange::Selection));
}

void EditorDocument::SetGizmoTarget(GizmoTarget target)
{
    if (selection_.Target() == target)
        return;
    selection_.SetTarget(std::move(target));
    Notify(static_cast<ChangeSet>(DocChange::Selection));
}

void EditorDocument::EditorObjectsRenamed(const std::vector<std::pair<std::string, std::string>>& renames)
{
    for (const auto& [from, to] : renames)
        std::replace(editorObjects_.begin(), editorObjects_.end(), from, to);
    for (const auto& [from, to] : renames)
        selection_.Rename(from, to);
}

void EditorDocument::RenameSelected(std::string_view oldName, const std::string& newName)
{
    std::erase(editorObjects_, oldName);
    if (selection_.Contains(oldName) || selection_.Target().objectName == oldName) {
        selection_.Rename(oldName, newName);
        Notify(static_cast<ChangeSet>(DocChange::Selection));
    }
}

bool EditorDocument::Modified() const
{
    return modifiedOutsideHistory_ || commands_.StateId() != savedState_;
}

void EditorDocument::MarkSaved(const std::string& fileName)
{
    fileName_ = fileName;
    modifiedOutsideHistory_ = false;
    savedState_ = commands_.StateId();
    Notify(static_cast<ChangeSet>(DocChange::History));
}

void EditorDocument::SceneReplaced(const std::string& fileName, bool modified)
{
    commands_.Clear();
    ++changeCount_;
    ++sceneGeneration_;
    fileName_ = fileName;
    savedState_ = commands_.StateId();
    modifiedOutsideHistory_ = modified;
    ChangeSet changes = DocChange::History | DocChange::Objects | DocChange::Properties;
    if (selection_.DropMissing(scene_))
        changes = changes | DocChange::Selection;
    Notify(changes);
    Poll();
}

void EditorDocument::MarkModified()
{
    ++changeCount_;
    if (modifiedOutsideHistory_)
        return;
    modifiedOutsideHistory_ = true;
    Notify(static_cast<ChangeSet>(DocChange::History));
}

std::int32_t EditorDocument::Listen(Listener listener)
{
    const std::int32_t id = nextListener_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void EditorDocument::Unlisten(std::int32_t id)
{
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void EditorDocument::Notify(ChangeSet changes)
{
    if (changes == 0)
        return;
    pending_ |= changes;
    if (notifying_)
        return;
    notifying_ = true;
    try {
        while (pending_ != 0) {
            const ChangeSet now = pending_;
            pending_ = 0;
            // A copy: a listener may add or remove listeners while it runs.
            const auto listeners = listeners_;
            for (const auto& [id, listener] : listeners)
                listener(now);
        }
    } catch (...) {
        notifying_ = false;
        pending_ = 0;
        throw;
    }
    notifying_ = false;
}

void EditorDocument::Poll()
{
    ChangeSet changes = 0;
    if (scene_.TakeChanged()) {
        changes = changes | DocChange::Objects;
        if (selection_.DropMissing(scene_))
            changes = changes | DocChange::Selection;
    }
    if (take(Meshes))
        changes = changes | DocChange::Meshes;
    if (take(Materials))
        changes = changes | DocChange::Materials;
    if (take(Textures))
        changes = changes | DocChange::Textures;
    if (take(LensFlares))
        changes = changes | DocChange::LensFlares;
    if (take(AnimList))
        changes = changes | DocChange::Scripts;
    const bool modified = Modified();
    if (modified != wasModified_) {
        wasModified_ = modified;
        changes = changes | DocChange::History;
    }
    Notify(changes);
}

} // namespace ra7::editor
