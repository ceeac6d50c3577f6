#pragma once
// Undoable edits. Every change a user makes to the scene or to a resource
// list is an EditorCommand run through the CommandStack, so that it can be
// undone and redone, marks the document modified and tells the views.
//
// Small edits of one thing in a row (a dragged bar, a gizmo drag, typing in
// a box) merge into one step. A transaction gathers the commands run between
// a press and a release into one step, or takes them all back on Escape.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ra7::editor {

class EditorCommand {
public:
    virtual ~EditorCommand() = default;

    // What the Edit menu calls the step ("Отменить " + Label()).
    virtual std::string Label() const = 0;
    // Runs the edit; called again for a redo, on the state Undo left.
    // A command that throws must leave everything as it found it.
    virtual void Do() = 0;
    // Puts back exactly what Do changed.
    virtual void Undo() = 0;

    // Commands with the same non-empty key edit the same thing; the later
    // one merges into the earlier one while the stack keeps merging open.
    virtual std::string MergeKey() const { return {}; }
    // Takes over the end state of `later` (same key, already done).
    virtual void MergeWith(EditorCommand& /*later*/) {}
};

// The names selected before a step, and when it was undone, so that undo
// and redo give the selection back together with the scene.
using SelectionNames = std::vector<std::string>;

class CommandStack {
public:
    CommandStack();
    ~CommandStack();
    CommandStack(const CommandStack&) = delete;
    CommandStack& operator=(const CommandStack&) = delete;

    // Runs the command and records it as a step (or merges it into the last
    // step, or adds it to the open transaction). The redo stack is emptied.
    // Returns false when the command merged into the step before it. A
    // command that throws is not recorded and the error passes on.
    bool Execute(std::unique_ptr<EditorCommand> command, SelectionNames selectionBefore);

    bool CanUndo() const { return !undo_.empty() && !transaction_; }
    bool CanRedo() const { return !redo_.empty() && !transaction_; }
    std::string UndoLabel() const;
    std::string RedoLabel() const;
    // Undo returns the selection before the step and remembers `selectionNow`
    // for its redo, which returns it. Null, with nothing done, when there
    // is no step to take.
    const SelectionNames* Undo(const SelectionNames& selectionNow);
    const SelectionNames* Redo();

    // The next Execute starts a step of its own even when its key matches
    // (a bar was released, another control took the focus).
    void BreakMerge() { mergeOpen_ = false; }

    // Commands run until Commit become one step called `label`; Cancel
    // undoes them in reverse order and records nothing. Nested calls are
    // programmer errors.
    void BeginTransaction(std::string label);
    // Returns true when the gesture changed anything and became a step.
    bool CommitTransaction();
    void CancelTransaction();
    bool InTransaction() const { return transaction_ != nullptr; }

    // Forgets every step (a scene was loaded or emptied).
    void Clear();

    // A number naming the state the steps have led to: equal numbers mean
    // the same edits are in force. Every new or merged step gets a new one.
    std::uint64_t StateId() const;

    std::size_t UndoCount() const { return undo_.size(); }
    std::size_t RedoCount() const { return redo_.size(); }

private:
    struct Step;
    class Transaction;

    void push(std::unique_ptr<Step> step);

    std::vector<std::unique_ptr<Step>> undo_;
    std::vector<std::unique_ptr<Step>> redo_;
    std::unique_ptr<Transaction> transaction_;
    bool mergeOpen_ = false;
    std::uint64_t nextId_ = 1;
    std::uint64_t emptyStateId_ = 0;
};

} // namespace ra7::editor
