#pragma once
// Every question the editor asks the user goes through this interface, so
// that tests can answer it. The Qt implementation shows real dialogs.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QWidget;

namespace ra7::editor {

// How the user answered a question about unsaved changes.
enum class SaveChoice { Save, Discard, Cancel };

// Who asks before a save replaces a file: the save dialog itself, or the
// caller, which asks its own question once the name is chosen.
enum class OverwriteQuestion { ByDialog, ByCaller };

class DialogService {
public:
    virtual ~DialogService() = default;

    // A file to open or to save; `filter` is in Qt's form ("KGF format (*.kgf)").
    // Nothing when the user cancels.
    virtual std::optional<std::string> AskOpenFile(const std::string& title, const std::string& filter) = 0;
    virtual std::optional<std::string>
    AskSaveFile(const std::string& title, const std::string& filter,
                OverwriteQuestion overwrite = OverwriteQuestion::ByDialog) = 0;
    // A folder (for a conversion's meshes); nothing when the user cancels.
    virtual std::optional<std::string> AskFolder(const std::string& title) = 0;
    // A line of text (input box); nothing when cancelled.
    virtual std::optional<std::string> AskText(const std::string& title, const std::string& label,
                                               const std::string& initial) = 0;
    // A yes/no question; true for yes.
    virtual bool Confirm(const std::string& text) = 0;
    // Unsaved changes are about to be lost: save them, drop them, or stop.
    virtual SaveChoice AskSaveChanges(const std::string& text) = 0;
    // A question with several answers, one button each in the given order;
    // the index of the answer chosen. Escape chooses the last answer.
    virtual std::size_t AskChoice(const std::string& text, const std::vector<std::string>& answers) = 0;
    // Information and errors; returns when the user has seen it.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
    // Shows one of the editor's own windows modally; returns when it closes,
    // true when it was accepted ("OK"), false when rejected or left with Escape.
    virtual bool RunModal(QDialog& dialog) = 0;
};

// Real dialogs, parented to `parent`.
class QtDialogService : public DialogService {
public:
    explicit QtDialogService(QWidget* parent) : parent_(parent) {}

    std::optional<std::string> AskOpenFile(const std::string& title, const std::string& filter) override;
    std::optional<std::string>
    AskSaveFile(const std::string& title, const std::string& filter,
                OverwriteQuestion overwrite = OverwriteQuestion::ByDialog) override;
    std::optional<std::string> AskFolder(const std::string& title) override;
    std::optional<std::string> AskText(const std::string& title, const std::string& label,
                                       const std::string& initial) override;
    bool Confirm(const std::string& text) override;
    SaveChoice AskSaveChanges(const std::string& text) override;
    std::size_t AskChoice(const std::string& text, const std::vector<std::string>& answers) override;
    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool RunModal(QDialog& dialog) override;

private:
    QWidget* parent_;
};

// For runs nobody watches (--screenshot, --startup-time): nothing is shown
// and nothing waits for a user. Errors and messages go to standard error as
// "ra7editor: <text>"; questions are answered no (files: none, unsaved
// changes: drop them); the editor's own windows are left at once, rejected.
class UnattendedDialogService : public DialogService {
public:
    std::optional<std::string> AskOpenFile(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> AskSaveFile(const std::string&, const std::string&, OverwriteQuestion) override
    {
        return {};
    }
    std::optional<std::string> AskFolder(const std::string&) override { return {}; }
    std::optional<std::string> AskText(const std::string&, const std::string&, const std::string&) override
    {
        return {};
    }
    bool Confirm(const std::string&) override { return false; }
    SaveChoice AskSaveChanges(const std::string&) override { return SaveChoice::Discard; }
    std::size_t AskChoice(const std::string&, const std::vector<std::string>& answers) override
    {
        return answers.empty() ? 0 : answers.size() - 1;
    }
    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool RunModal(QDialog&) override { return false; }
};

} // namespace ra7::editor
