#pragma once
// The hierarchy tree's commands over the selection, as pairs: whether the
// command can run (the menu's enabled state) and the command itself. Each
// runs as one undoable step; names the command must leave out are reported.

#include <string>
#include <vector>

namespace ra7::editor {

class EditorDocument;

// What a command would act on, and one message per name it leaves out.
struct TreeEdit {
    std::vector<std::string> names;
    std::vector<std::string> refusals;
};

// "Удалить": every selected object but the active camera (which the view needs).
TreeEdit PlanDelete(const EditorDocument& document);
// "Parent": the first selected object is the parent; the others are its new
// children in selection order, except those it already lists and those
// that would close a loop (the parent itself, or one of its ancestors).
TreeEdit PlanAttach(const EditorDocument& document);
// "UnParent": the selected objects that have a parent.
TreeEdit PlanDetach(const EditorDocument& document);
// "Дублировать": the selected objects that exist.
TreeEdit PlanDuplicate(const EditorDocument& document);

bool CanDelete(const EditorDocument& document);
bool CanAttach(const EditorDocument& document);
bool CanDetach(const EditorDocument& document);
bool CanDuplicate(const EditorDocument& document);

// Each runs its plan as one step (nothing when the plan is empty) and
// returns the plan's refusals for the view to show.
std::vector<std::string> DeleteSelected(EditorDocument& document);
std::vector<std::string> AttachSelected(EditorDocument& document);
std::vector<std::string> DetachSelected(EditorDocument& document);
std::vector<std::string> DuplicateSelected(EditorDocument& document);

} // namespace ra7::editor
