#include "core/CommandStack.h"

#include <cassert>
#include <utility>

namespace ra7::editor {

struct CommandStack::Step {
    std::unique_ptr<EditorCommand> command;
    SelectionNames before;
    SelectionNames after;
    std::uint64_t id = 0;
};

// The commands of one press-to-release gesture, run and undone as one.
class CommandStack::Transaction : public EditorCommand {
public:
    explicit Transaction(std::string label) : label_(std::move(label)) {}

    std::string Label() const override { return label_; }
    void Do() override
    {
        for (std::size_t i = 0; i < commands_.size(); ++i) {
            try {
                commands_[i]->Do();
            } catch (...) {
                undoFirst(i);
                throw;
            }
        }
    }
    void Undo() override { undoFirst(commands_.size()); }

    // Runs the command inside the gesture; a drag's moves merge into one.
    void Run(std::unique_ptr<EditorCommand> command)
    {
        command->Do();
        if (!commands_.empty()) {
            EditorCommand& last = *commands_.back();
            const std::string key = command->MergeKey();
            if (!key.empty() && key == last.MergeKey()) {
                last.MergeWith(*command);
                return;
            }
        }
        commands_.push_back(std::move(command));
    }
    bool Empty() const { return commands_.empty(); }

    std::vector<std::string> selectionBefore;
    bool selectionKnown = false;

private:
    void undoFirst(std::size_t count)
    {
        while (count > 0)
            commands_[--count]->Undo();
    }

    std::string label_;
    std::vector<std::unique_ptr<EditorCommand>> commands_;
};

CommandStack::CommandStack() = default;
CommandStack::~CommandStack() = default;

bool CommandStack::Execute(std::unique_ptr<EditorCommand> command, SelectionNames selectionBefore)
{
    assert(command);
    if (transaction_) {
        if (!transaction_->selectionKnown) {
            transaction_->selectionBefore = std::move(selectionBefore);
            transaction_->selectionKnown = true;
        }
        transaction_->Run(std::move(command));
        return true;
    }
    command->Do();
    redo_.clear();
    if (mergeOpen_ && !undo_.empty()) {
        Step& top = *undo_.back();
        const std::string key = command->MergeKey();
        if (!key.empty() && key == top.command->MergeKey()) {
            top.command->MergeWith(*command);
            top.id = nextId_++;
            return false;
        }
    }
    auto step = std::make_unique<Step>();
    step->command = std::move(command);
    step->before = std::move(selectionBefore);
    push(std::move(step));
    mergeOpen_ = true;
    return true;
}

void CommandStack::push(std::unique_ptr<Step> step)
{
    step->id = nextId_++;
    undo_.push_back(std::move(step));
}

std::string CommandStack::UndoLabel() const
{
    return CanUndo() ? undo_.back()->command->Label() : std::string();
}

std::string CommandStack::RedoLabel() const
{
    return CanRedo() ? redo_.back()->command->Label() : std::string();
}

const SelectionNames* CommandStack::Undo(const SelectionNames& selectionNow)
{
    if (!CanUndo())
        return nullptr;
    undo_.back()->command->Undo();
    undo_.back()->after = selectionNow;
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
    mergeOpen_ = false;
    return &redo_.back()->before;
}

const SelectionNames* CommandStack::Redo()
{
    if (!CanRedo())
        return nullptr;
    redo_.back()->command->Do();
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
    mergeOpen_ = false;
    return &undo_.back()->after;
}

void CommandStack::BeginTransaction(std::string label)
{
    assert(!transaction_);
    transaction_ = std::make_unique<Transaction>(std::move(label));
    mergeOpen_ = false;
}

bool CommandStack::CommitTransaction()
{
    assert(transaction_);
    std::unique_ptr<Transaction> done = std::move(transaction_);
    if (done->Empty())
        return false;
    redo_.clear();
    auto step = std::make_unique<Step>();
    step->before = done->selectionBefore;
    step->command = std::move(done);
    push(std::move(step));
    return true;
}

void CommandStack::CancelTransaction()
{
    assert(transaction_);
    std::unique_ptr<Transaction> cancelled = std::move(transaction_);
    cancelled->Undo();
}

void CommandStack::Clear()
{
    undo_.clear();
    redo_.clear();
    transaction_.reset();
    mergeOpen_ = false;
    emptyStateId_ = nextId_++;
}

std::uint64_t CommandStack::StateId() const
{
    return undo_.empty() ? emptyStateId_ : undo_.back()->id;
}

} // namespace ra7::editor
